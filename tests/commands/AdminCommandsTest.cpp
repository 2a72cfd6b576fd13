// The admin commands over a real RCON socket: replies, and what they change in
// the database.
#include <gtest/gtest.h>

#include <algorithm>

#include "AdminCommandsFixture.h"
#include "AsaApi/Game/RCON.h"
#include "AsaApi/Host.h"
#include "testsupport/Database.h"

namespace commandtest {
namespace {

using Row = std::vector<std::string>;

TEST_F(AdminCommands, PointsAreAddedSetAndReadWithTheirReplies) {
  EXPECT_EQ(Rcon("GetPlayerPoints 0002ann"), "Player has 0 points.");
  EXPECT_EQ(Points("0002ann"), "0") << "the read created the row";

  EXPECT_EQ(Rcon("AddPoints 0002ann 25"), "Added 25 points to eosId 0002ann.");
  ASSERT_TRUE(WaitForPoints("0002ann", "25"));
  EXPECT_EQ(Rcon("AddPoints   0002ann   -5  "), "Added -5 points to eosId 0002ann.");
  ASSERT_TRUE(WaitForPoints("0002ann", "20"));
  EXPECT_EQ(Rcon("GetPlayerPoints 0002ann"), "Player has 20 points.");

  EXPECT_EQ(Rcon("SetPoints 0002ann 7000000000"), "Invalid Command. SetPoints <EOS_ID> <Amount> <optional:logstr>");
  EXPECT_EQ(Rcon("SetPoints 0002ann 900"), "Set points for 0002ann to 900.");
  ASSERT_TRUE(WaitForPoints("0002ann", "900"));
  EXPECT_EQ(Rcon("SetPoints 0002ann abc"), "Set points for 0002ann to 0.") << "an unreadable amount sets 0";
  ASSERT_TRUE(WaitForPoints("0002ann", "0"));
  Settle();
  EXPECT_TRUE(TradeLog().empty()) << "no log words, no log rows";
  // Every change is in the plugin log with the address it came from; a read is not.
  EXPECT_EQ(Server().CountLog("RCON 127.0.0.1:"), 5u);
  EXPECT_EQ(Server().CountLog(": AddPoints 0002ann 25: Added 25 points to eosId 0002ann."), 1u);
  EXPECT_EQ(Server().CountLog(": GetPlayerPoints"), 0u);
}

TEST_F(AdminCommands, AmountsThatAreNotANonZero32BitNumberAddNothing) {
  StorePoints("0002bob", 100);
  for (const char* amount : {"0", "abc", "-", "4294967301", "-2147483649", "{}"})
    EXPECT_EQ(Rcon(std::string("AddPoints 0002bob ") + amount + " why"), "Skipped adding 0 points.") << amount;
  EXPECT_EQ(Rcon("AddPoints 0002bob"), "Invalid Command. AddPoints <EOS_ID> <Amount> <optional:logstr>");
  EXPECT_EQ(Rcon("SetPoints 0002bob"), "Invalid Command. SetPoints <EOS_ID> <Amount> <optional:logstr>");
  EXPECT_EQ(Rcon("SetPoints 0002bob -2147483649 why"),
            "Invalid Command. SetPoints <EOS_ID> <Amount> <optional:logstr>");
  EXPECT_EQ(Rcon("GetPlayerPoints"), "Invalid Command. GetPlayerPoints <EOS_ID>");
  EXPECT_EQ(Rcon("AddPoints 0002bob 2147483647"), "Added 2147483647 points to eosId 0002bob.");
  ASSERT_TRUE(WaitForPoints("0002bob", "2147483747")) << "stored in 64 bits";
  EXPECT_EQ(Rcon("GetPlayerPoints 0002bob"), "Player has 2147483747 points.");
  Settle();
  EXPECT_TRUE(TradeLog().empty());
}

TEST_F(AdminCommands, LogWordsBecomeAnAdminTradeLogRow) {
  StorePoints("0002cid", 5);
  EXPECT_EQ(Rcon("AddPoints 0002cid 10 gift"), "Added 10 points to eosId 0002cid.");
  EXPECT_EQ(Rcon("SetPoints 0002cid 40 event   win"), "Set points for 0002cid to 40.");
  Settle();
  auto rows = TradeLog();
  std::sort(rows.begin(), rows.end());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (Row{"admin addpoints", "0002cid", "gift ", "", "10", "-1", "-1"}));
  EXPECT_EQ(rows[1], (Row{"admin setpoints", "0002cid", "event win ", "", "40", "-1", "40"}));
}

TEST_F(AdminCommands, HostileTextsAreStoredAndEchoedAsTheyWere) {
  StorePoints("0002dan", 0);
  const std::string words = "{} {0} %s %n \"quoted\" 'single' \\ ;drop \xc3\xa9t\xc3\xa9 \xf0\x9f\x92\xb0";
  EXPECT_EQ(Rcon("AddPoints 0002dan 3 " + words), "Added 3 points to eosId 0002dan.");
  EXPECT_EQ(Rcon("GetPlayerPoints {}%s\"'\xc3\xa9"), "Player has 0 points.");
  EXPECT_EQ(Rcon("SetPoints {name}%d'\" 4"), "No player with eosId {name}%d'\". Nothing changed.");
  EXPECT_EQ(Rcon("AddPoints \xc3\xa9{} 9"), "No player with eosId \xc3\xa9{}. Nothing changed.");
  EXPECT_EQ(Rcon("ChangeKitAmount {}%s \"Kit';-- 2"), "Packet not found.");
  EXPECT_EQ(Rcon("TransferPointsFromArkshop x';DROP\"{}"), "Failed to get arkshop player data.");
  EXPECT_EQ(Rcon("TransferPointsFromArkshop t \xc3\xa9{}%s \"u' p{} d% 1"),
            "Failed to get connect to database for arkshop data.");
  Settle();
  const auto rows = TradeLog();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][2], "{} {0} %s %n \"quoted\" 'single' \\ drop \xc3\xa9t\xc3\xa9 \xf0\x9f\x92\xb0 ")
      << "the log text is kept as typed, less the \";\" that stored names never carry";
  EXPECT_EQ(Points("0002dan"), "3");
  EXPECT_EQ(Points("?{}"), "<none>") << "AddPoints changes existing players only";
  EXPECT_EQ(Points("{}%s\"'?"), "0") << "the read created the player's row, the id narrowed";
  EXPECT_TRUE(Server().HostErrors().empty());
}

// The reply says what happened: a player without a row gains nothing, and a
// database that fails changes nothing; the player is told only of a credit.
TEST_F(AdminCommands, PointsForAnUnknownPlayerOrDuringAnOutageChangeNothingAndSaySo) {
  EXPECT_EQ(Rcon("AddPoints 0002kim 500 welcome"), "No player with eosId 0002kim. Nothing changed.");
  EXPECT_EQ(Rcon("SetPoints 0002kim 500"), "No player with eosId 0002kim. Nothing changed.");
  EXPECT_EQ(Points("0002kim"), "<none>");
  EXPECT_EQ(Rcon("GetPlayerPoints 0002kim"), "Player has 0 points.");
  EXPECT_EQ(Rcon("AddPoints 0002kim 500"), "Added 500 points to eosId 0002kim.");
  EXPECT_EQ(Rcon("GetPlayerPoints 0002kim"), "Player has 500 points.") << "the README's example, as written";

  sql_.Exec("RENAME TABLE " + Table("player_points") + " TO " + Table("points_away"));
  sql_.Exec("RENAME TABLE " + Table("player_redeems") + " TO " + Table("redeems_away"));
  EXPECT_EQ(Rcon("AddPoints 0002kim 25 outage"), "Database unavailable. Nothing changed.");
  EXPECT_EQ(Rcon("SetPoints 0002kim 7"), "Database unavailable. Nothing changed.");
  EXPECT_EQ(Rcon("ChangeKitAmount 0002kim Kit 2"), "Database unavailable. Nothing changed.");
  // Replies say what the database did, not what was asked.
  EXPECT_EQ(Rcon("GetPlayerPoints 0002kim"), "Database unavailable. The points could not be read.");
  EXPECT_EQ(Rcon("ResetPoints"), "Database unavailable. Nothing changed.");
  EXPECT_EQ(Rcon("ResetKits"), "Database unavailable. Nothing changed.");
  EXPECT_TRUE(Server().LogContains("[warning] AddPoints did not happen for eosId 0002kim: 25 points not added"));
  EXPECT_TRUE(Server().LogContains("[warning] SetPoints did not happen for eosId 0002kim: points not set to 7"));
  EXPECT_TRUE(Server().LogContains(
      "[warning] DBHelper::changeRedeemAmount did not happen for eosId 0002kim: held packet 'Kit,1' not changed by 2"));
  sql_.Exec("RENAME TABLE " + Table("points_away") + " TO " + Table("player_points"));
  sql_.Exec("RENAME TABLE " + Table("redeems_away") + " TO " + Table("player_redeems"));
  EXPECT_EQ(Points("0002kim"), "500");
  EXPECT_TRUE(Held("0002kim").empty());
  EXPECT_TRUE(TradeLog().empty()) << "no admin log row for a grant that did not happen";
}

TEST_F(AdminCommands, HeldPacketsAreAddedAndTakenInTheirStoredForm) {
  StorePoints("0002eve", 0);
  EXPECT_EQ(Rcon("ChangeKitAmount 0002eve kit"), "Adding packet to player.");
  EXPECT_EQ(Rcon("ChangeKitAmount 0002eve Kit,4 -1"), "Adding packet to player.") << "the given amount wins";
  EXPECT_EQ(Rcon("ChangeKitAmount 0002eve gift,3"), "Adding packet to player.") << "the string's own amount";
  EXPECT_EQ(Rcon("ChangeKitAmount 0002eve Kit 5"), "Adding packet to player.");
  EXPECT_EQ(Rcon("ChangeKitAmount 0002eve Nothing 5"), "Packet not found.");
  EXPECT_EQ(Rcon("ChangeKitAmount 0002eve"), "Invalid Command");
  EXPECT_EQ(Rcon("ChangeKitAmount 0002eve Kit 99999999999"),
            "Invalid Command. The amount must be a whole number other than 0.");
  Settle();
  EXPECT_EQ(Held("0002eve"), (std::vector<Row>{{"Gift,1", "3", "1"}, {"Kit,1", "5", "0"}}));
}

// A typo in the amount or the player's id grants nothing, and the reply says why.
TEST_F(AdminCommands, HeldPacketsForAnUnknownPlayerOrAnUnreadableAmountAreRefused) {
  StorePoints("0002gus", 0);
  for (const char* amount : {"2x", "two", "-", "0"}) {
    EXPECT_EQ(Rcon(std::string("ChangeKitAmount 0002gus Kit,3 ") + amount),
              "Invalid Command. The amount must be a whole number other than 0.")
        << amount;
  }
  EXPECT_EQ(Rcon("ChangeKitAmount 0002nobody Kit 2"), "No player with eosId 0002nobody. Nothing changed.");
  EXPECT_EQ(Rcon("ChangeKitAmount 0002nobody Kit -2"), "No player with eosId 0002nobody. Nothing changed.");
  EXPECT_EQ(Rcon("ChangeKitAmount 0002gus Kit -2"), "Player 0002gus holds no such packet. Nothing changed.");
  Settle();
  EXPECT_TRUE(Held("0002gus").empty());
  EXPECT_TRUE(Held("0002nobody").empty());
}

TEST_F(AdminCommands, ResetsEmptyPointsAndHeldPackets) {
  StorePoints("0002fay", 70);
  EXPECT_EQ(Rcon("ChangeKitAmount 0002fay Kit 2"), "Adding packet to player.");
  ASSERT_TRUE(WaitUntil([&] { return Held("0002fay").size() == 1; }));
  EXPECT_EQ(Rcon("ResetKits with words"), "Reset redeems for all players.");
  EXPECT_TRUE(Held("0002fay").empty());
  EXPECT_EQ(Rcon("ResetPoints"), "Reset points for all players.");
  EXPECT_EQ(Points("0002fay"), "0");
}

TEST_F(AdminCommands, ArkshopTransferChecksItsArgumentsAndImports) {
  const std::string usage =
      "Invalid Command. Try TransferPointsFromArkshop <tableName> or TransferPointsFromArkshop <tableName> <server> "
      "<username> <password> <database> <port>";
  EXPECT_EQ(Rcon("TransferPointsFromArkshop"), usage);
  EXPECT_EQ(Rcon("TransferPointsFromArkshop t 127.0.0.1 user"), usage);
  EXPECT_EQ(Rcon("TransferPointsFromArkshop t h u p db 4294970602"), usage) << "no port after a wrap";
  EXPECT_EQ(Rcon("TransferPointsFromArkshop t h u p db port"), usage);

  const std::string source = prefix_ + "_arkshop";
  sql_.Exec("CREATE TABLE " + source + " (EosId VARCHAR(50), Points BIGINT)");
  sql_.Exec("INSERT INTO " + source + " VALUES ('0002gus', 120), ('0002hal', 30)");
  StorePoints("0002hal", 5);
  EXPECT_EQ(Rcon("TransferPointsFromArkshop " + source), "Did transfer arkshop points.");
  EXPECT_EQ(Points("0002gus"), "120");
  EXPECT_EQ(Points("0002hal"), "5") << "an existing player keeps their row";

  const testsupport::DatabaseSettings db = testsupport::DatabaseFromEnvironment();
  sql_.Exec("INSERT INTO " + source + " VALUES ('0002ivy', 8)");
  EXPECT_EQ(Rcon("TransferPointsFromArkshop " + source + " " + db.Host + " " + db.User + " " + db.Password + " " +
                 db.Database + " " + std::to_string(db.Port)),
            "Did transfer arkshop points.");
  EXPECT_EQ(Points("0002ivy"), "8");
}

TEST_F(AdminCommands, AreRegisteredWhileLoadedAndGoneAfterUnload) {
  auto& registry = host::CommandRegistry::Get();
  for (const char* name : {"ChangeKitAmount", "AddPoints", "SetPoints", "GetPlayerPoints", "ResetKits", "ResetPoints",
                           "TransferPointsFromArkshop"}) {
    EXPECT_TRUE(registry.HasRconCommand(FString(name))) << name;
    EXPECT_TRUE(registry.HasConsoleCommand(FString(name))) << name;
  }
  EXPECT_TRUE(registry.HasConsoleCommand(FString("ListInvItems")));
  EXPECT_FALSE(registry.HasRconCommand(FString("ListInvItems")));
  EXPECT_TRUE(registry.HasChatCommand(FString("/shop")));

  // Without a connection or a packet, nothing runs.
  StorePoints("0002jon", 1);
  RCONPacket packet{0, 3, 2, FString("SetPoints 0002jon 5")};
  EXPECT_TRUE(registry.DispatchRcon(nullptr, &packet, nullptr));
  Settle();
  EXPECT_EQ(Points("0002jon"), "1");
  EXPECT_FALSE(registry.HasRconCommand(FString("AddPoints")));
  EXPECT_FALSE(registry.HasConsoleCommand(FString("ListInvItems")));
  EXPECT_FALSE(registry.HasChatCommand(FString("/shop")));
  EXPECT_TRUE(Server().HostErrors().empty());
}

}  // namespace
}  // namespace commandtest
