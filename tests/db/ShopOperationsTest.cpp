// Held packets, purchases, sales, trades, the logs and on-join rewards on the real database.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/KeptConnection.h"

namespace {

using dbtest::ShopTables;

ModComm::PlayerServerInfo Player(const char16_t* eosId) { return {eosId, u"Rex (Hunters)", u"Island"}; }

std::vector<std::string> ShopLogRow(ShopTables& db, const std::string& packet) {
  const auto rows = db.Sql().Rows("SELECT eosId,packet,descr,amount,points_change,newpoints,redeemsLeft,isBuy,isRedeem,"
                                  "isSell FROM " + db.Table("shoplog") + " WHERE packet=" + dbtest::Quote(packet));
  return rows.empty() ? std::vector<std::string>{} : rows[0];
}

int32_t Used(int64_t packed) { return static_cast<int32_t>(packed & 0xFFFFFFFF); }
int32_t Left(int64_t packed) { return static_cast<int32_t>(packed >> 32); }

TEST(Redeems, RedeemUsesWhatIsHeldAndLogsIt) {
  ShopTables db;
  db.SetPoints("p", 90);
  DBHelper::changeRedeemAmount(u"p", u"Kit,0;1;;", 3, false);
  DBHelper::changeRedeemAmount(u"p", u"Big,0;;;", 5, false);

  const int64_t all = DBHelper::redeemPacket(Player(u"p"), u"Kit,0;1;;", u"Starter kit", 5, u"KitCd");
  EXPECT_EQ(Used(all), 3);
  EXPECT_EQ(Left(all), 0);
  EXPECT_EQ(db.Held("p", "Kit,0;1;;"), -1);  // used up: row gone
  EXPECT_EQ(ShopLogRow(db, "Kit,0;1;;"), (std::vector<std::string>{"p", "Kit,0;1;;", "Starter kit", "3", "0", "90", "0", "0", "1", "0"}));
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_cooldowns") + " WHERE packetName='KitCd'"), 1);

  const int64_t some = DBHelper::redeemPacket(Player(u"p"), u"Big,0;;;", u"Big", 2, u"BigCd");
  EXPECT_EQ(Used(some), 2);
  EXPECT_EQ(Left(some), 3);
  EXPECT_EQ(db.Held("p", "Big,0;;;"), 3);

  const auto logRows = db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("shoplog"));
  EXPECT_EQ(DBHelper::redeemPacket(Player(u"p"), u"NotHeld,0;;;", u"x", 1, u"cd"), -1);
  EXPECT_EQ(DBHelper::redeemPacket(Player(u"p"), u"Big,0;;;", u"x", 0, u"cd"), -1);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("shoplog")), logRows);

  // A row held at 0 is removed by the attempt and gives nothing.
  db.Sql().Exec("INSERT INTO " + db.Table("player_redeems") + " (eosId,packetStr,amount) VALUES ('p','Zero,1',0)");
  EXPECT_EQ(DBHelper::redeemPacket(Player(u"p"), u"Zero,1", u"x", 1, u"cd"), -1);
  EXPECT_EQ(db.Held("p", "Zero,1"), -1);
}

TEST(Redeems, AdminChangesOfHeldAmounts) {
  ShopTables db;
  DBHelper::changeRedeemAmount(u"p", u"Kit", 4, false);
  DBHelper::changeRedeemAmount(u"p", u"Kit", 2, false);
  EXPECT_EQ(db.Held("p", "Kit"), 6);
  DBHelper::changeRedeemAmount(u"p", u"Kit", -2, false);
  EXPECT_EQ(db.Held("p", "Kit"), 4);
  DBHelper::changeRedeemAmount(u"p", u"Kit", -10, false);
  EXPECT_EQ(db.Held("p", "Kit"), -1);

  DBHelper::changeRedeemAmount(u"p", u"Reward,1", 4, true);
  DBHelper::changeRedeemAmount(u"p", u"Reward,1", -10, true);
  EXPECT_EQ(db.Held("p", "Reward,1"), 0);  // reward rows stay at 0
  EXPECT_EQ(db.Sql().Scalar("SELECT isRewardPacket FROM " + db.Table("player_redeems") + " WHERE packetStr='Reward,1'"), "1");

  DBHelper::changeRedeemAmount(u"p", u"Missing", -1, false);  // nothing to change
  DBHelper::changeRedeemAmount(u"", u"Kit", 3, false);
  DBHelper::changeRedeemAmount(u"p", u"", 3, false);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_redeems")), 1);

  // Packet names outside ASCII are found again when they are changed and redeemed.
  DBHelper::changeRedeemAmount(u"p", u"Räuber,0;;;", 2, false);
  DBHelper::changeRedeemAmount(u"p", u"Räuber,0;;;", -1, false);
  EXPECT_EQ(db.Held("p", "Räuber,0;;;"), 1);
  EXPECT_EQ(Used(DBHelper::redeemPacket(Player(u"p"), u"Räuber,0;;;", u"d", 1, u"c")), 1);

  ArkTandor_AsyncTaskResults list;
  DBHelper::changeRedeemAmount(u"q", u"Ä,0;;;", 7, false);
  DBHelper::loadRedeemList(list, u"q");
  ASSERT_EQ(list.Texts.Num(), 1);
  EXPECT_EQ(list.Texts[0], FString(u"Ä,0;;;"));
  ASSERT_EQ(list.Lists.Num(), 1);
  EXPECT_EQ(list.Lists[0][0], 7);

  ArkTandor_AsyncTaskResults none;
  DBHelper::loadRedeemList(none, u"nobody");
  EXPECT_EQ(none.Texts.Num(), 0);
  EXPECT_EQ(none.Lists.Num(), 1);  // the amounts list comes also when empty

  DBHelper::resetAllKits();
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_redeems")), 0);
}

// The whole database side of a purchase, on a fresh and on a kept connection:
// the player's cooldown refuses it, the balance must cover it, and a write that
// fails with the commit keeps nothing and is named in the log.
TEST(ShopOperations, AChargeChecksTheCooldownTakesOnlyWhatIsCoveredAndKeepsNothingOfAFailedWrite) {
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "kept connection" : "connection per operation");
    ShopTables db;
    dbtest::ConfigureDatabase(db.Settings(), db.Prefix(), db.Settings().Database, keep);
    const DBHelper::WorkerConnectionScope worker;
    db.SetPoints("p", 100);
    const auto charge = [&](int32_t points, int32_t cooldownSeconds, DBHelper::ShopLogRecord& written,
                            DBHelper::CooldownBefore& before) {
      return DBHelper::chargePurchase(Player(u"p"), points, u"Kit,1;;;", u"Kit", 1, u"Kit", cooldownSeconds, written,
                                      before);
    };
    DBHelper::ShopLogRecord written;
    DBHelper::CooldownBefore before;
    EXPECT_EQ(charge(60, 3600, written, before), DBHelper::ChargeResult::Charged);
    EXPECT_EQ(db.Points("p"), 40);
    EXPECT_EQ(written.newPoints, 40);
    EXPECT_EQ(before.LastUse, 0) << "no cooldown before the first purchase";
    EXPECT_EQ(ShopLogRow(db, "Kit,1;;;"), (std::vector<std::string>{"p", "Kit,1;;;", "Kit", "1", "-60", "40", "0", "1", "0", "0"}));

    EXPECT_EQ(charge(10, 3600, written, before), DBHelper::ChargeResult::OnCooldown);
    EXPECT_EQ(db.Points("p"), 40) << "the take of a refused purchase was kept";
    db.Sql().Exec("UPDATE " + db.Table("player_cooldowns") + " SET lastUse=lastUse-3600");
    const int64_t aged = db.Sql().Number("SELECT lastUse FROM " + db.Table("player_cooldowns"));
    EXPECT_EQ(charge(50, 3600, written, before), DBHelper::ChargeResult::TooFewPoints);
    EXPECT_EQ(db.Sql().Number("SELECT lastUse FROM " + db.Table("player_cooldowns")), aged);
    EXPECT_EQ(charge(40, 3600, written, before), DBHelper::ChargeResult::Charged);
    EXPECT_EQ(before.LastUse, aged);
    EXPECT_EQ(db.Points("p"), 0);
    EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("shoplog")), 2);

    // The log row goes out with the commit; when it fails, the take goes with it.
    db.SetPoints("p", 100);
    db.Sql().Exec("RENAME TABLE " + db.Table("shoplog") + " TO " + db.Table("shoplog_away"));
    dbtest::LogCapture log;
    EXPECT_EQ(charge(30, 0, written, before), DBHelper::ChargeResult::Failed);
    EXPECT_EQ(db.Points("p"), 100);
    EXPECT_TRUE(log.Contains("DBHelper::insertShopLog) Unexpected DB error Table")) << log.Lines().back();
    db.Sql().Exec("RENAME TABLE " + db.Table("shoplog_away") + " TO " + db.Table("shoplog"));
    EXPECT_EQ(charge(30, 0, written, before), DBHelper::ChargeResult::Charged) << "the connection is usable again";
    EXPECT_EQ(db.Points("p"), 70);
  }
}

TEST(ShopOperations, BuyAndSellChangePointsAndLog) {
  ShopTables db;
  db.SetPoints("p", 500);
  DBHelper::buyPacket(Player(u"p"), -120, u"Kit,2;1;;", u"Bought Kit", 2, u"KitCd", true);
  EXPECT_EQ(db.Points("p"), 380);
  EXPECT_EQ(ShopLogRow(db, "Kit,2;1;;"), (std::vector<std::string>{"p", "Kit,2;1;;", "Bought Kit", "2", "-120", "380", "0", "1", "0", "0"}));
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_cooldowns")), 1);

  DBHelper::buyPacket(Player(u"p"), -10, u"Other", u"d", 1, u"OtherCd", false);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_cooldowns")), 1);

  DBHelper::sellItems(Player(u"p"), u"Metal", u"Sold metal", 3, 30);
  EXPECT_EQ(db.Points("p"), 400);
  EXPECT_EQ(ShopLogRow(db, "Metal"), (std::vector<std::string>{"p", "Metal", "Sold metal", "10", "30", "400", "0", "0", "0", "1"}));
  DBHelper::sellItems(Player(u"p"), u"Free", u"price 0", 0, 5);  // no division by zero
  EXPECT_EQ(db.Sql().Number("SELECT amount FROM " + db.Table("shoplog") + " WHERE packet='Free'"), 0);

  TArray<ModComm::A_ShopLogEntry> log;
  DBHelper::loadShopLog(log, u"p");
  ASSERT_EQ(log.Num(), 4);
  int buys = 0, sells = 0;
  for (const auto& entry : log) {
    buys += entry.Kind == 0;
    sells += entry.Kind == 1;
  }
  EXPECT_EQ(buys, 2);
  EXPECT_EQ(sells, 2);

  // The kind follows the flags, and a row without any flag counts as a buy.
  db.Sql().Exec("DELETE FROM " + db.Table("shoplog"));
  db.Sql().Exec("INSERT INTO " + db.Table("shoplog") +
                " (eosId,packet,descr,timestamp,amount,points_change,isBuy,isRedeem,isSell) VALUES "
                "('p','r','R',300,1,0,0,1,0),('p','n','N',200,4,-5,0,0,0),('p','s','S',100,2,9,0,1,1)");
  TArray<ModComm::A_ShopLogEntry> kinds;
  DBHelper::loadShopLog(kinds, u"p");
  ASSERT_EQ(kinds.Num(), 3);
  EXPECT_EQ(kinds[0].Packet, FString(u"r"));
  EXPECT_EQ(kinds[0].Kind, 2);
  EXPECT_EQ(kinds[1].Kind, 0);
  EXPECT_EQ(kinds[1].Timestamp, 200);
  EXPECT_EQ(kinds[1].Amount, 4);
  EXPECT_EQ(kinds[1].PointsChange, -5);
  EXPECT_EQ(kinds[2].Kind, 1);
}

TEST(Trades, TransferLogsBothBalancesAndShowsTheSign) {
  ShopTables db;
  db.SetPoints("from", 250);
  db.SetPoints("to", 40);
  EXPECT_EQ(DBHelper::tradePoints(u"from", u"Ann(Raiders)", u"to", u"Bob", 100), 0);
  EXPECT_EQ(db.Points("from"), 150);
  EXPECT_EQ(db.Points("to"), 140);
  EXPECT_EQ(db.Sql().Rows("SELECT eosid_from,eosid_to,from_name,to_name,amount,points_after_from,points_after_to FROM " +
                          db.Table("tradelog"))[0],
            (std::vector<std::string>{"from", "to", "Ann(Raiders)", "Bob", "100", "150", "140"}));

  EXPECT_EQ(DBHelper::tradePoints(u"from", u"Ann", u"to", u"Bob", 151), 1);  // too few
  EXPECT_EQ(DBHelper::tradePoints(u"nobody", u"N", u"to", u"Bob", 1), 1);   // sender without a row
  EXPECT_EQ(DBHelper::tradePoints(u"from", u"Ann", u"ghost", u"G", 10), 2);  // unknown recipient keeps nothing
  EXPECT_EQ(DBHelper::tradePoints(u"from", u"Ann", u"to", u"Bob", 0), 1);
  EXPECT_EQ(DBHelper::tradePoints(u"from", u"Ann", u"to", u"Bob", -50), 1);  // cannot pull points
  EXPECT_EQ(db.Points("from"), 150);
  EXPECT_EQ(db.Points("to"), 140);
  EXPECT_EQ(db.Points("ghost"), -1);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("tradelog")), 1);

  TArray<ModComm::A_TradeLogEntry> sent;
  DBHelper::loadTradeLog(sent, u"from");
  ASSERT_EQ(sent.Num(), 1);
  EXPECT_EQ(sent[0].PartnerEosId, FString(u"to"));
  EXPECT_EQ(sent[0].PartnerName, FString(u"Bob"));
  EXPECT_EQ(sent[0].Amount, -100);
  TArray<ModComm::A_TradeLogEntry> got;
  DBHelper::loadTradeLog(got, u"to");
  ASSERT_EQ(got.Num(), 1);
  EXPECT_EQ(got[0].PartnerEosId, FString(u"from"));
  EXPECT_EQ(got[0].PartnerName, FString(u"Ann(Raiders)"));
  EXPECT_EQ(got[0].Amount, 100);

  // To oneself: shown as sent, balance unchanged; names keep UTF-8.
  EXPECT_EQ(DBHelper::tradePoints(u"to", u"Bjørn", u"to", u"Bjørn", 40), 0);
  EXPECT_EQ(db.Points("to"), 140);
  TArray<ModComm::A_TradeLogEntry> self;
  DBHelper::loadTradeLog(self, u"to");
  const auto* own = self.FindByPredicate([](const auto& e) { return e.PartnerEosId == FString(u"to"); });
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->Amount, -40);
  EXPECT_EQ(own->PartnerName, FString(u"Bjørn"));
}

TEST(OnJoinRewards, TwoHundredFiftyRewardsGoInThreeStatementsAndAreGrantedOnce) {
  ShopTables db;
  TArray<DBHelper::OnJoinReward> rewards;
  for (int i = 0; i < 250; ++i)
    rewards.Add({FString::FromUtf8("Reward" + std::to_string(i) + (i == 7 ? "é" : "")), i + 1});

  {
    // The server's own count of insert statements on this session.
    DBHelper::DBConnection connection(DBHelper::Settings());
    const auto inserts = [&] {
      int64_t count = 0;
      connection.Connection().query("SHOW SESSION STATUS LIKE 'Com_insert'")[0].get(1, count);
      return count;
    };
    const int64_t before = inserts();
    EXPECT_EQ(DBHelper::insertOnJoinRewardPacketsForPlayer(connection, u"p", rewards, 1234), 3);
    EXPECT_EQ(inserts() - before, 3);
  }
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_redeems") + " WHERE eosId='p'"), 250);
  EXPECT_EQ(db.Held("p", "Reward249,1"), 250);
  EXPECT_EQ(db.Held("p", "Reward7é,1"), 8);
  EXPECT_EQ(db.Sql().Number("SELECT SUM(isRewardPacket) FROM " + db.Table("player_redeems")), 250);

  // Joining again keeps what is held instead of granting the initial amount again.
  DBHelper::redeemPacket(Player(u"p"), u"Reward249,1", u"d", 100, u"cd");
  DBHelper::storeOnJoinRewards(rewards, u"p");
  EXPECT_EQ(db.Held("p", "Reward249,1"), 150);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_redeems")), 250);

  DBHelper::storeOnJoinRewards({}, u"p");  // nothing to send
}

}  // namespace
