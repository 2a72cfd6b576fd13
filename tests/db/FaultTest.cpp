// An unreachable server, failing statements and a server restarted under the plugin.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "points/ExportedPoints.h"

namespace {

using dbtest::LogCapture;
using dbtest::ShopTables;

TEST(Faults, UnreachableServerGivesDefaultsAndLogsEachConnection) {
  auto settings = testsupport::DatabaseFromEnvironment();
  settings.Host = "127.0.0.1";  // one server (the environment may list a cluster's nodes)
  settings.Port = dbtest::ClosedPort();
  dbtest::ConfigureDatabase(settings, "t", settings.Database);
  LogCapture log;
  const ModComm::PlayerServerInfo info{u"p", u"P ()", u"S"};

  const DBHelper::PlayerPointsRow row = DBHelper::loadPlayerPoints(u"p");
  EXPECT_EQ(row.points, 0);
  EXPECT_EQ(row.secondsWithoutReward, 0);
  EXPECT_FALSE(DBHelper::changePoints(u"p", 1));
  EXPECT_FALSE(DBHelper::spendPoints(u"p", 0));
  EXPECT_FALSE(DBHelper::assignPoints(u"p", 1));
  ModComm::DB_PlayerPointsWithCds withCds;
  DBHelper::loadPointsWithCds(withCds, u"p");
  EXPECT_EQ(withCds.points, -1);
  EXPECT_EQ(DBHelper::redeemPacket(info, u"Kit", u"d", 1, u"cd"), -1);
  EXPECT_EQ(DBHelper::tradePoints(u"p", u"P", u"q", u"Q", 1), 1);
  DBHelper::buyPacket(info, -5, u"Kit", u"d", 1, u"cd", true);
  DBHelper::sellItems(info, u"Metal", u"d", 1, 5);
  DBHelper::changeRedeemAmount(u"p", u"Kit", -1, false);
  ArkTandor_AsyncTaskResults list;
  DBHelper::loadRedeemList(list, u"p");
  EXPECT_EQ(list.Lists.Num(), 0);
  TArray<ModComm::A_TradeTarget> targets;
  DBHelper::loadTradeTargets(targets, 100);
  EXPECT_EQ(TandorShop::GetPoints(u"p"), 0);
  EXPECT_FALSE(TandorShop::AddPoints(5, u"p"));
  EXPECT_FALSE(TandorShop::SetPoints(u"p", 5));
  EXPECT_FALSE(TandorShop::SpendPoints(0, u"p"));
  EXPECT_EQ(DBHelper::importArkshopPoints("ArkShopPlayers", settings.Host, settings.User, settings.Password,
                                          settings.Database, settings.Port),
            "Failed to get connect to database for arkshop data.");

  EXPECT_EQ(log.Count("[critical] Failed to open connection!"), 18u);  // one per connection: SpendPoints opens two
  EXPECT_EQ(log.Count("Unexpected DB error"), 0u);
}

TEST(Faults, RejectedStatementsAreLoggedWithTheQueryName) {
  ShopTables db;
  db.Sql().Exec("DROP TABLE " + db.Table("player_points"));
  LogCapture log;
  EXPECT_EQ(DBHelper::loadPlayerPoints(u"p").points, 0);
  EXPECT_FALSE(DBHelper::changePoints(u"p", 3));
  const std::string file = "src/db/DBHelper.cpp DBHelper::";
  EXPECT_TRUE(log.Contains("[error] (")) << (log.Lines().empty() ? "" : log.Lines()[0]);
  for (const char* query : {"selectPlayerPoints) Unexpected DB error ", "addNewPlayer) Unexpected DB error ",
                            "addPlayerPoints) Unexpected DB error "})
    EXPECT_TRUE(log.Contains(file + query)) << query;
  EXPECT_TRUE(log.Contains("doesn't exist"));
}

TEST(Faults, APurchaseSaleOrRedeemWhoseLogRowFailsKeepsNothing) {
  ShopTables db;
  db.SetPoints("p", 100);
  DBHelper::changeRedeemAmount(u"p", u"Kit,0;;;", 2, false);
  // The log table is gone: every write before the log row must be undone.
  db.Sql().Exec("RENAME TABLE " + db.Table("shoplog") + " TO " + db.Table("shoplog_away"));
  const ModComm::PlayerServerInfo info{u"p", u"P ()", u"S"};
  LogCapture log;
  DBHelper::buyPacket(info, -30, u"Kit,0;;;", u"d", 1, u"Kit", true);
  DBHelper::sellItems(info, u"Metal", u"d", 1, 5);
  EXPECT_EQ(DBHelper::redeemPacket(info, u"Kit,0;;;", u"d", 1, u"Kit"), -1);
  EXPECT_EQ(db.Points("p"), 100);
  EXPECT_EQ(db.Held("p", "Kit,0;;;"), 2);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_cooldowns")), 0);
  EXPECT_EQ(log.Count("DBHelper::insertShopLog) Unexpected DB error"), 3u);
  for (const char* operation : {"buyPacket", "sellItems", "redeemPacket"})
    EXPECT_TRUE(log.Contains(std::string("DBHelper::") + operation + ") Unexpected DB error a query failed")) << operation;

  // With the table back the same redeem goes through and is logged.
  db.Sql().Exec("RENAME TABLE " + db.Table("shoplog_away") + " TO " + db.Table("shoplog"));
  EXPECT_NE(DBHelper::redeemPacket(info, u"Kit,0;;;", u"d", 1, u"Kit"), -1);
  EXPECT_EQ(db.Held("p", "Kit,0;;;"), 1);
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("shoplog")), 1);
}

TEST(Faults, ServerKilledAndRestartedIsReachedAgain) {
  dbtest::OwnServer server;
  auto settings = testsupport::DatabaseFromEnvironment();
  settings.Host = "127.0.0.1";
  settings.Port = server.Port();
  settings.Database = "tandorshop";
  dbtest::ConfigureDatabase(settings, "r", settings.Database);
  DBHelper::createTables();
  EXPECT_EQ(TandorShop::GetPoints(u"p"), 0);
  EXPECT_TRUE(TandorShop::AddPoints(10, u"p"));

  // A connection that lives across the restart reconnects on its own.
  DBHelper::DBConnection kept(DBHelper::Settings());
  ASSERT_TRUE(kept.IsOpen());
  server.Kill();
  {
    LogCapture log;
    EXPECT_EQ(TandorShop::GetPoints(u"p"), 0);  // down: the default
    EXPECT_TRUE(log.Contains("Failed to open connection!"));
  }
  server.Start();
  EXPECT_EQ(DBHelper::selectPlayerPoints(kept, u"p").points, 10);
  EXPECT_TRUE(TandorShop::AddPoints(5, u"p"));
  EXPECT_EQ(TandorShop::GetPoints(u"p"), 15);
}

}  // namespace
