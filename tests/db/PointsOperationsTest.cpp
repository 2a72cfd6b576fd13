// Points and character records on the real database.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DBHelper.h"

namespace {

using dbtest::ShopTables;

TEST(PointsOperations, NewPlayerGetsARowAndChangesApplyToIt) {
  ShopTables db;
  const DBHelper::PlayerPointsRow fresh = DBHelper::loadPlayerPoints(u"eos_new");
  EXPECT_EQ(fresh.points, 0);
  EXPECT_EQ(fresh.secondsWithoutReward, 0);
  EXPECT_EQ(db.Points("eos_new"), 0);

  EXPECT_TRUE(DBHelper::changePoints(u"eos_new", 250));
  EXPECT_TRUE(DBHelper::changePoints(u"eos_new", -300));  // callers check; the store may go below 0
  EXPECT_EQ(DBHelper::loadPlayerPoints(u"eos_new").points, -50);
  EXPECT_TRUE(DBHelper::assignPoints(u"eos_new", 7));
  EXPECT_TRUE(DBHelper::assignPoints(u"eos_new", 7));  // unchanged value still counts as the row taking it
  EXPECT_EQ(db.Points("eos_new"), 7);

  // 32-bit changes add up to a 64-bit total.
  EXPECT_TRUE(DBHelper::changePoints(u"eos_new", 2'000'000'000));
  EXPECT_TRUE(DBHelper::changePoints(u"eos_new", 2'000'000'000));
  EXPECT_EQ(db.Points("eos_new"), 4'000'000'007);

  DBHelper::saveSecondsWithoutReward(u"eos_new", 1740);
  EXPECT_EQ(DBHelper::loadPlayerPoints(u"eos_new").secondsWithoutReward, 1740);

  // Players without a row are not changed and the caller learns it.
  EXPECT_FALSE(DBHelper::changePoints(u"eos_nobody", 5));
  EXPECT_FALSE(DBHelper::assignPoints(u"eos_nobody", 5));
  EXPECT_EQ(db.Points("eos_nobody"), -1);

  DBHelper::resetAllPoints();
  EXPECT_EQ(db.Points("eos_new"), 0);
}

TEST(PointsOperations, SpendTakesOnlyWhatTheBalanceCovers) {
  ShopTables db;
  db.SetPoints("eos_a", 10);
  EXPECT_FALSE(DBHelper::spendPoints(u"eos_a", 11));
  EXPECT_EQ(db.Points("eos_a"), 10);
  EXPECT_TRUE(DBHelper::spendPoints(u"eos_a", 10));
  EXPECT_EQ(db.Points("eos_a"), 0);
  EXPECT_FALSE(DBHelper::spendPoints(u"eos_missing", 0));
}

TEST(PointsOperations, PointsWithCooldownsDoNotCreateARow) {
  ShopTables db;
  ModComm::DB_PlayerPointsWithCds record;
  DBHelper::loadPointsWithCds(record, u"eos_cd");
  EXPECT_EQ(record.points, -1);
  EXPECT_EQ(record.Cooldowns.Num(), 0);
  EXPECT_EQ(db.Points("eos_cd"), -1);

  db.SetPoints("eos_cd", 42);
  db.Sql().Exec("INSERT INTO " + db.Table("player_cooldowns") +
                " VALUES ('eos_cd','Kit',1700000000),('eos_cd','Räuber',1700000500),('other','Kit',5)");
  ModComm::DB_PlayerPointsWithCds loaded;
  DBHelper::loadPointsWithCds(loaded, u"eos_cd");
  EXPECT_EQ(loaded.points, 42);
  ASSERT_EQ(loaded.Cooldowns.Num(), 2);
  bool sawUmlaut = false;
  for (const auto& cd : loaded.Cooldowns)
    if (cd.PacketName == FString(u"Räuber")) sawUmlaut = cd.LastUse == 1700000500;
  EXPECT_TRUE(sawUmlaut);
}

TEST(CharacterRecords, LoginLogoutAndTradeTargets) {
  ShopTables db;
  const int64_t now = static_cast<int64_t>(time(nullptr));
  const auto login = [&](const char16_t* id, const char16_t* name, const char16_t* tribe, int64_t at) {
    DBHelper::recordLogin(PointsHandler::PlayerLoginDB{id, name, tribe, at, 77});
  };
  login(u"eos_rex", u"Rex", u"Hunters", now - 100);
  login(u"eos_rex", u"Rex", u"", now - 50);  // same character after leaving the tribe: a second row
  login(u"eos_rex", u"Rex", u"", now - 10);  // same row again: login time refreshed
  login(u"eos_ann", u"Ann;", u"Ra\"id\\ers", now - 20);
  login(u"eos_old", u"Old", u"", now - 30 * 86400);
  DBHelper::recordLogout({u"eos_ann", now - 5});

  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("player_chars") + " WHERE eosId='eos_rex'"), 2);
  EXPECT_EQ(db.Sql().Number("SELECT lastLogin FROM " + db.Table("player_chars") +
                            " WHERE eosId='eos_rex' AND tribeName=''"),
            now - 10);
  // ";" is dropped, quotes and backslashes are kept as they are.
  EXPECT_EQ(db.Sql().Scalar("SELECT CONCAT(charName,'|',tribeName) FROM " + db.Table("player_chars") +
                            " WHERE eosId='eos_ann'"),
            "Ann|Ra\"id\\ers");
  EXPECT_EQ(db.Sql().Number("SELECT lastLogout FROM " + db.Table("player_chars") + " WHERE eosId='eos_ann'"),
            now - 5);

  // A row with an empty name or no login never shows up.
  db.Sql().Exec("INSERT INTO " + db.Table("player_chars") + " VALUES ('eos_ghost','','',UNIX_TIMESTAMP(),0,77),"
                "('eos_ghost2','Ghost','',0,0,77)");
  TArray<ModComm::A_TradeTarget> targets;
  DBHelper::loadTradeTargets(targets, 1209600);
  ASSERT_EQ(targets.Num(), 2);
  const ModComm::A_TradeTarget* rex = targets.FindByPredicate([](const auto& t) { return t.EosId == FString(u"eos_rex"); });
  const ModComm::A_TradeTarget* ann = targets.FindByPredicate([](const auto& t) { return t.EosId == FString(u"eos_ann"); });
  ASSERT_NE(rex, nullptr);
  ASSERT_NE(ann, nullptr);
  ASSERT_EQ(rex->Names.Num(), 2);
  EXPECT_TRUE(rex->Names.Contains(FString(u"Rex (Hunters)")));
  EXPECT_TRUE(rex->Names.Contains(FString(u"Rex ()")));
  EXPECT_EQ(rex->IsOnline, 0);
  EXPECT_EQ(rex->LoginAfterLogout, 0);  // never logged out
  EXPECT_EQ(ann->LoginAfterLogout, 0);  // logged out after the login

  login(u"eos_ann", u"Ann", u"Ra\"id\\ers", now - 1);  // back again
  TArray<ModComm::A_TradeTarget> again;
  DBHelper::loadTradeTargets(again, 1209600);
  const auto* annAgain = again.FindByPredicate([](const auto& t) { return t.EosId == FString(u"eos_ann"); });
  ASSERT_NE(annAgain, nullptr);
  EXPECT_EQ(annAgain->LoginAfterLogout, 1);
}

TEST(CharacterRecords, StartupMaintenanceRepairsThisServersRows) {
  ShopTables db;
  // The game mode is not running here, so this server's id reads as 0.
  db.Sql().Exec("INSERT INTO " + db.Table("player_chars") +
                " VALUES ('a','A','',1000,0,0),('b','B','',1000,900,0),('c','','',1000,0,0),('d','D','',0,0,0),"
                "('e','E','',1000,0,5),('f','','',1000,0,5)");
  db.Sql().Exec("INSERT INTO " + db.Table("player_cooldowns") +
                " VALUES ('a','old',UNIX_TIMESTAMP()-2678500),('a','recent',UNIX_TIMESTAMP()-100)");
  DBHelper::runStartupMaintenance({{u"old", 0}, {u"recent", 0}});
  const auto rows = db.Sql().Rows("SELECT eosId,lastLogin,lastLogout FROM " + db.Table("player_chars") + " ORDER BY eosId");
  ASSERT_EQ(rows.size(), 4u);  // c and d removed; other servers' rows untouched
  EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "1000", "1000"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"b", "1000", "1000"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"e", "1000", "0"}));
  EXPECT_EQ(rows[3][0], "f");
  EXPECT_EQ(db.Sql().Scalar("SELECT GROUP_CONCAT(packetName) FROM " + db.Table("player_cooldowns")), "recent");
}

}  // namespace
