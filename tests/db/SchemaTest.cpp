// The tables and their creation.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DBHelper.h"

namespace {

using dbtest::ShopTables;

std::string Columns(ShopTables& db, const std::string& table) {
  return db.Sql().Scalar(
      "SELECT GROUP_CONCAT(CONCAT(COLUMN_NAME,' ',COLUMN_TYPE,' ',IS_NULLABLE,' ',IFNULL(COLUMN_DEFAULT,'-')) "
      "ORDER BY ORDINAL_POSITION SEPARATOR ', ') FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND "
      "TABLE_NAME='" + table + "'");
}

std::string Keys(ShopTables& db, const std::string& table) {
  return db.Sql().Scalar(
      "SELECT GROUP_CONCAT(CONCAT(INDEX_NAME,':',COLUMN_NAME) ORDER BY INDEX_NAME,SEQ_IN_INDEX) FROM "
      "information_schema.STATISTICS WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME='" + table + "'");
}

TEST(Schema, TheTablesWithTheirColumnsAndKeys) {
  ShopTables db;
  EXPECT_EQ(Columns(db, db.Table("player_points")),
            "eosId varchar(47) NO '', secondsWithoutReward int(10) unsigned YES 0, points bigint(20) NO 0, "
            "lastChange bigint(20) YES 0");
  EXPECT_EQ(Keys(db, db.Table("player_points")), "PRIMARY:eosId");
  EXPECT_EQ(Columns(db, db.Table("player_chars")),
            "eosId varchar(47) NO '', charName varchar(127) NO '', tribeName varchar(127) NO '', "
            "lastLogin int(10) unsigned YES 0, lastLogout int(10) unsigned YES 0, lastServerId int(10) unsigned YES 0");
  EXPECT_EQ(Keys(db, db.Table("player_chars")), "PRIMARY:eosId,PRIMARY:charName,PRIMARY:tribeName");
  EXPECT_EQ(Columns(db, db.Table("player_redeems")),
            "eosId varchar(47) NO '', packetStr varchar(511) NO '', amount int(11) YES 0, lastChange bigint(20) YES 0, "
            "isRewardPacket tinyint(1) YES 0, isAdminReward tinyint(1) YES 0");
  EXPECT_EQ(Keys(db, db.Table("player_redeems")), "PRIMARY:eosId,PRIMARY:packetStr");
  EXPECT_EQ(Columns(db, db.Table("player_cooldowns")),
            "eosId varchar(47) NO '', packetName varchar(255) NO '', lastUse int(10) unsigned YES 0");
  EXPECT_EQ(Keys(db, db.Table("player_cooldowns")), "PRIMARY:eosId,PRIMARY:packetName");
  EXPECT_EQ(Columns(db, db.Table("tradelog")),
            "eosid_from varchar(47) YES '', eosid_to varchar(47) YES '', from_name varchar(255) YES '', "
            "to_name varchar(255) YES '', timestamp bigint(20) YES 0, serverid int(10) unsigned YES 0, "
            "amount bigint(20) YES 0, points_after_from bigint(20) YES 0, points_after_to bigint(20) YES 0, "
            "id bigint(20) unsigned NO -");
  EXPECT_EQ(Keys(db, db.Table("tradelog")),
            "fromTime:eosid_from,fromTime:timestamp,PRIMARY:id,timestamp:timestamp,toTime:eosid_to,toTime:timestamp");
  EXPECT_EQ(Columns(db, db.Table("shoplog")),
            "eosId varchar(47) YES '', packet varchar(255) YES '', descr varchar(255) YES '', timestamp bigint(20) "
            "YES 0, serverid int(10) unsigned YES 0, amount int(11) YES 0, points_change bigint(20) YES 0, newpoints "
            "bigint(20) YES 0, redeemsLeft int(10) unsigned YES 0, isBuy tinyint(1) YES 0, isRedeem tinyint(1) YES 0, "
            "isSell tinyint(1) YES 0, id bigint(20) unsigned NO -");
  EXPECT_EQ(Keys(db, db.Table("shoplog")), "eosIdTime:eosId,eosIdTime:timestamp,PRIMARY:id,timestamp:timestamp");
  EXPECT_EQ(db.Sql().Scalar("SELECT version FROM " + db.Table("schema")), "2");
}

TEST(Schema, CreatingAgainKeepsTablesAndTheirRows) {
  ShopTables db;
  db.SetPoints("kept", 5);
  db.Sql().Exec("DROP TABLE " + db.Table("shoplog"));
  db.Sql().Exec("CREATE TABLE " + db.Table("shoplog") + " (other INT PRIMARY KEY)");
  dbtest::LogCapture log;
  DBHelper::createTables();
  EXPECT_EQ(db.Points("kept"), 5);
  EXPECT_EQ(Columns(db, db.Table("shoplog")), "other int(11) NO -");
  EXPECT_EQ(log.Count("critical"), 0u);
}

TEST(Schema, EmptyPrefixGivesNamesStartingWithAnUnderscore) {
  const auto settings = testsupport::DatabaseFromEnvironment();
  const std::string database = testsupport::UniquePrefix("tsdb");
  dbtest::RawSql sql(settings, settings.Database);
  sql.Exec("CREATE DATABASE " + database + " CHARACTER SET utf8mb4");
  dbtest::ConfigureDatabase(settings, "", database);
  DBHelper::createTables();
  EXPECT_TRUE(DBHelper::changePoints(u"nobody", 1) == false);
  EXPECT_EQ(DBHelper::loadPlayerPoints(u"someone").points, 0);
  const auto tables = sql.Rows("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA='" + database +
                               "' ORDER BY TABLE_NAME");
  sql.Exec("DROP DATABASE " + database);
  ASSERT_EQ(tables.size(), 9u);
  EXPECT_EQ(tables[0][0], "_operations");
  EXPECT_EQ(tables[8][0], "_tradelog");
}

TEST(Schema, EachFailedCreationIsReportedAndTheOthersAreTried) {
  const auto settings = testsupport::DatabaseFromEnvironment();
  dbtest::ConfigureDatabase(settings, "bad prefix", settings.Database);  // every statement is rejected
  dbtest::LogCapture log;
  DBHelper::createTables();
  for (const char* message :
       {"DBHelper::createPlayerPointsTable) Failed to create PlayerPointsTable table!",
        "DBHelper::createPlayerCharsTable) Failed to create PlayerCharsTable table!",
        "DBHelper::createPlayerRedeemTable) Failed to create PlayerRedeemTable table!",
        "DBHelper::createShopLogTable) Failed to create ShopLog table!",
        "DBHelper::createTradeLogTable) Failed to create TradeLog table!",
        "DBHelper::createPlayerCooldownTable) Failed to create PlayerCooldownTable table!",
        "DBHelper::createOperationsTable) Failed to create Operations table!",
        "DBHelper::createSettlementsTable) Failed to create Settlements table!",
        "DBHelper::createSchemaTable) Failed to create Schema table!"})
    EXPECT_TRUE(log.Contains(message)) << message;
  EXPECT_EQ(log.Count("[critical] ("), 9u);
}

}  // namespace
