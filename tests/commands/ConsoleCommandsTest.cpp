// The admin commands typed in the game console: who may use them and where the
// replies go.
#include <gtest/gtest.h>

#include "AdminCommandsFixture.h"
#include "sim/world/GameModel.h"
#include "sim/world/Items.h"

namespace commandtest {
namespace {

class ConsoleCommands : public AdminCommands {
 protected:
  void SetUp() override {
    AdminCommands::SetUp();
    Server().JoinPlayer(sim::PlayerSpec::Of("0002boss", "Boss", true));
    Server().JoinPlayer(sim::PlayerSpec::Of("0002pleb", "Pleb", false));
  }
};

TEST_F(ConsoleCommands, AnAdminReadsTheReplyInTheConsoleAndInChat) {
  StorePoints("0002kim", 1);
  EXPECT_TRUE(Server().Console("0002boss", "AddPoints 0002kim 5 bonus"));
  EXPECT_TRUE(Server().Console("0002boss", "GetPlayerPoints 0002nobody"));
  ASSERT_TRUE(WaitForPoints("0002kim", "6"));

  EXPECT_EQ(Server().ClientMessagesOf("0002boss"),
            (std::vector<std::string>{"Added 5 points to eosId 0002kim.", "Player has 0 points."}));
  const auto& chat = Server().MessagesOf("0002boss");
  ASSERT_EQ(chat.size(), 2u);
  EXPECT_EQ(chat[0].Sender, "Test Shop");
  EXPECT_EQ(chat[0].Text, "Added 5 points to eosId 0002kim.");
  EXPECT_EQ(chat[1].Text, "Player has 0 points.");
}

TEST_F(ConsoleCommands, ChatRepliesAreNarrowedAndHeldPacketRepliesStayInTheConsole) {
  StorePoints("?{}%", 0);  // the id as stored: narrowed
  StorePoints("0002kim", 0);  // held packets go to players the shop knows
  EXPECT_TRUE(Server().Console("0002boss", "SetPoints \xc3\xa9{}% 3"));
  EXPECT_TRUE(Server().Console("0002boss", "ChangeKitAmount 0002kim Kit 2"));
  EXPECT_EQ(Server().ClientMessagesOf("0002boss"),
            (std::vector<std::string>{"Set points for \xc3\xa9{}% to 3.", "Adding packet to player."}));
  const auto& chat = Server().MessagesOf("0002boss");
  ASSERT_EQ(chat.size(), 1u) << "ChangeKitAmount answers in the console only";
  EXPECT_EQ(chat[0].Text, "Set points for ?{}% to 3.");
  ASSERT_TRUE(WaitUntil([&] { return Held("0002kim").size() == 1; }));
}

TEST_F(ConsoleCommands, ANonAdminTypingEveryAdminCommandChangesNothingAndHearsNothing) {
  StorePoints("0002pleb", 10);
  EXPECT_EQ(Rcon("ChangeKitAmount 0002pleb Kit 1"), "Adding packet to player.");
  ASSERT_TRUE(WaitUntil([&] { return Held("0002pleb").size() == 2; })) << "the admin's packet beside the on-join reward";
  const std::string source = prefix_ + "_arkshop";
  sql_.Exec("CREATE TABLE " + source + " (EosId VARCHAR(50), Points BIGINT)");
  sql_.Exec("INSERT INTO " + source + " VALUES ('0002lou', 500)");
  ASSERT_TRUE(WaitUntil([&] { return Points("0002boss") != "<none>"; })) << "logins are stored before the snapshot";
  const std::string bossBefore = Points("0002boss");
  const auto heldBefore = Held("0002pleb");

  for (const std::string& command :
       {std::string("AddPoints 0002pleb 1000000 self"), std::string("SetPoints 0002pleb 2147483647 self"),
        std::string("ChangeKitAmount 0002pleb Kit 50"), std::string("GetPlayerPoints 0002boss"),
        std::string("ResetKits"), std::string("ResetPoints"), "TransferPointsFromArkshop " + source,
        std::string("ListInvItems"), std::string("addpoints 0002pleb 7")}) {
    EXPECT_TRUE(Server().Console("0002pleb", command)) << command;
    EXPECT_TRUE(Server().Console("", command)) << "the server console, without a controller: " << command;
  }
  Settle();
  EXPECT_EQ(Points("0002pleb"), "10");
  EXPECT_EQ(Points("0002lou"), "<none>");
  EXPECT_EQ(Points("0002boss"), bossBefore);
  EXPECT_EQ(Held("0002pleb"), heldBefore);
  EXPECT_EQ(heldBefore.size(), 2u) << "the on-join reward and the admin's packet";
  EXPECT_TRUE(TradeLog().empty());
  EXPECT_TRUE(Server().ClientMessagesOf("0002pleb").empty());
  EXPECT_TRUE(Server().MessagesOf("0002pleb").empty());
  EXPECT_TRUE(Server().HostErrors().empty());
}

// The inventory listing gives back the paths the configuration uses, in inventory
// order, without engrams and items that may not be removed.
TEST_F(ConsoleCommands, InventoryListingWritesTheBlueprintPathOfEachRemovableItem) {
  const std::string pick = "Blueprint'/Game/Tools/PrimalItem_Pick.PrimalItem_Pick'";
  const std::string stone = "Blueprint'/Game/Resources/PrimalItemResource_Stone.PrimalItemResource_Stone'";
  const std::string engram = "Blueprint'/Game/Tools/PrimalItem_Sickle.PrimalItem_Sickle'";
  const std::string implant = "Blueprint'/Game/Misc/PrimalItem_Implant.PrimalItem_Implant'";
  sim::SimClass* pickClass = sim::ItemClasses::Add({.Path = pick});
  sim::SimClass* stoneClass = sim::ItemClasses::Add({.Path = stone});
  sim::SimClass* engramClass = sim::ItemClasses::Add({.Path = engram, .IsEngram = true});
  sim::SimClass* implantClass = sim::ItemClasses::Add({.Path = implant, .AllowRemoval = false});
  sim::SimInventory* inventory = Server().FindPlayer("0002boss")->Character->Inventory;
  auto& items = Server().Model().Items;
  for (sim::SimClass* cls : {stoneClass, engramClass, pickClass, implantClass}) items.NewItem(cls, inventory, 1);

  const std::size_t before = Server().LogLines().size();
  EXPECT_TRUE(Server().Console("0002boss", "ListInvItems"));
  const std::vector<std::string> lines = Server().LogLines();
  std::vector<std::string> listed;
  for (std::size_t i = before; i < lines.size(); ++i)
    if (lines[i].find("[TandorShop][info] Blueprint'") != std::string::npos)
      listed.push_back(lines[i].substr(lines[i].find("Blueprint'")));
  EXPECT_EQ(listed, (std::vector<std::string>{stone, pick}));
  EXPECT_TRUE(Server().ClientMessagesOf("0002boss").empty()) << "ListInvItems only writes the log";
  EXPECT_TRUE(Server().HostErrors().empty());
}

}  // namespace
}  // namespace commandtest
