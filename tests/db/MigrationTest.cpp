// Tables made by the first version of the shop, with data and the duplicates
// their keys let through, brought to today's form at start-up.
#include <gtest/gtest.h>

#include <thread>

#include "DbTestSupport.h"
#include "db/DBHelper.h"

namespace {

// The tables exactly as the first version made them.
const char* const kFirstTables[] = {
    "CREATE TABLE {}_player_points (eosId VARCHAR(47) DEFAULT \"\",secondsWithoutReward INT UNSIGNED DEFAULT 0,"
    "points BIGINT NOT NULL DEFAULT 0,lastChange BIGINT DEFAULT 0,PRIMARY KEY(eosId))",
    "CREATE TABLE {}_player_chars (eosId VARCHAR(47) DEFAULT \"\",charName VARCHAR(127) DEFAULT \"\",tribeName "
    "VARCHAR(127) DEFAULT \"\",lastLogin INT UNSIGNED DEFAULT 0,lastLogout INT UNSIGNED DEFAULT 0,lastServerId INT "
    "UNSIGNED DEFAULT 0,UNIQUE(eosId,charName,tribeName))",
    "CREATE TABLE {}_player_redeems (eosId VARCHAR(47) NOT NULL DEFAULT \"\",packetStr VARCHAR(511) NOT NULL DEFAULT "
    "\"\",amount INT DEFAULT 0,lastChange BIGINT DEFAULT 0,isRewardPacket BOOL DEFAULT FALSE,isAdminReward BOOL "
    "DEFAULT FALSE,UNIQUE(eosId,packetStr))",
    "CREATE TABLE {}_player_cooldowns (eosId VARCHAR(47) DEFAULT \"\",packetName VARCHAR(255) DEFAULT \"\",lastUse "
    "INT UNSIGNED DEFAULT 0,UNIQUE(eosId,packetName))",
    "CREATE TABLE {}_tradelog (eosid_from VARCHAR(47) DEFAULT \"\",eosid_to VARCHAR(47) DEFAULT \"\",from_name "
    "VARCHAR(255) DEFAULT \"\",to_name VARCHAR(255) DEFAULT \"\",timestamp BIGINT DEFAULT 0,serverid INT UNSIGNED "
    "DEFAULT 0,amount BIGINT DEFAULT 0,points_after_from BIGINT DEFAULT 0,points_after_to BIGINT DEFAULT 0)",
    "CREATE TABLE {}_shoplog (eosId VARCHAR(47) DEFAULT \"\",packet VARCHAR(255) DEFAULT \"\",descr VARCHAR(255) "
    "DEFAULT \"\",timestamp BIGINT DEFAULT 0,serverid INT UNSIGNED DEFAULT 0,amount INT DEFAULT 0,points_change "
    "BIGINT DEFAULT 0,newpoints BIGINT DEFAULT 0,redeemsLeft INT UNSIGNED DEFAULT 0,isBuy BOOL DEFAULT FALSE,isRedeem "
    "BOOL DEFAULT FALSE,isSell BOOL DEFAULT FALSE)",
};

const char* const kShopTables[] = {"player_points", "player_chars", "player_redeems", "player_cooldowns",
                                   "tradelog",      "shoplog",      "operations",     "settlements",
                                   "schema"};

class Migration : public ::testing::Test {
 protected:
  Migration()
      : settings_(testsupport::DatabaseFromEnvironment()),
        prefix_(testsupport::UniquePrefix("mig")),
        sql_(settings_, settings_.Database) {
    dbtest::ConfigureDatabase(settings_, prefix_, settings_.Database);
  }
  ~Migration() override { testsupport::DropTablesWithPrefix(prefix_); }

  std::string T(const std::string& name) const { return prefix_ + "_" + name; }
  std::string WithPrefix(std::string statement) const {
    for (std::size_t at = statement.find("{}"); at != std::string::npos; at = statement.find("{}", at))
      statement.replace(at, 2, prefix_);
    return statement;
  }
  // A cluster that requires keys refuses the first version's tables: the migration
  // of such tables is shown on a plain server.
  bool RefusesTablesWithoutKeys() {
    const auto rows = sql_.Rows("SELECT @@GLOBAL.wsrep_mode LIKE '%REQUIRED_PRIMARY_KEY%'");
    return !rows.empty() && rows[0][0] == "1";
  }
  void MakeFirstTables() {
    for (const char* statement : kFirstTables) sql_.Exec(WithPrefix(statement));
  }
  bool HasPrimaryKey(const std::string& table) {
    return sql_.Number("SELECT COUNT(*) FROM information_schema.STATISTICS WHERE TABLE_SCHEMA=DATABASE() AND "
                       "TABLE_NAME='" + T(table) + "' AND INDEX_NAME='PRIMARY'") > 0;
  }
  std::string Rows(const std::string& statement) {
    std::string text;
    for (const auto& row : sql_.Rows(WithPrefix(statement))) {
      for (const auto& field : row) text += field + " ";
      text += "| ";
    }
    return text;
  }
  // What the tables hold, independent of their form: a migration must leave it.
  std::string Books() {
    return Rows("SELECT SUM(points),COUNT(*) FROM {}_player_points") +
           Rows("SELECT eosId,packetStr,amount,isRewardPacket FROM {}_player_redeems ORDER BY eosId,packetStr") +
           Rows("SELECT COUNT(*),SUM(points_change) FROM {}_shoplog") +
           Rows("SELECT COUNT(*),SUM(amount) FROM {}_tradelog");
  }

  testsupport::DatabaseSettings settings_;
  std::string prefix_;
  dbtest::RawSql sql_;
};

TEST_F(Migration, FirstTablesWithDuplicatesAreMigratedByTwoServersStartingAtOnceAndNothingIsLost) {
  if (RefusesTablesWithoutKeys()) GTEST_SKIP() << "this server refuses tables without a primary key";
  MakeFirstTables();
  sql_.Exec(WithPrefix("INSERT INTO {}_player_points (eosId,points) VALUES ('ann',500),('bob',70),('cy',0)"));
  // The old unique keys let rows through whose key holds NULL, several alike.
  sql_.Exec(WithPrefix(
      "INSERT INTO {}_player_chars (eosId,charName,tribeName,lastLogin,lastLogout,lastServerId) VALUES "
      "('ann','Ann','Wolves',100,150,1),(NULL,'Ann','Wolves',300,310,2),(NULL,'Ann','Wolves',200,400,3),"
      "('bob',NULL,'',50,60,1),('bob',NULL,'',40,90,2),('bob','','',70,0,4)"));
  sql_.Exec(WithPrefix("INSERT INTO {}_player_redeems (eosId,packetStr,amount,isRewardPacket) VALUES "
                       "('ann','Starter Kit',3,0),('ann','Daily,1',0,1),('bob','Metal',12,0)"));
  sql_.Exec(WithPrefix("INSERT INTO {}_player_cooldowns (eosId,packetName,lastUse) VALUES "
                       "('ann','Kit',1000),('bob',NULL,50),('bob',NULL,80),('bob','',60),(NULL,'Kit',5)"));
  // Two equal sales in one second are two sales: both rows stay.
  for (int i = 0; i < 2; ++i) {
    sql_.Exec(WithPrefix("INSERT INTO {}_shoplog (eosId,packet,timestamp,amount,points_change,isSell) VALUES "
                         "('ann','Stone',1000,10,20,1)"));
    sql_.Exec(WithPrefix("INSERT INTO {}_tradelog (eosid_from,eosid_to,timestamp,amount) VALUES "
                         "('ann','bob',1000,5)"));
  }
  sql_.Exec(WithPrefix("INSERT INTO {}_shoplog (eosId,packet,timestamp,amount,points_change,isBuy) VALUES "
                       "('bob','Kit',1001,1,-30,1)"));
  const std::string books = Books();

  dbtest::LogCapture log;
  std::thread first([] { DBHelper::createTables(); });
  std::thread second([] { DBHelper::createTables(); });
  first.join();
  second.join();

  for (const char* table : kShopTables) EXPECT_TRUE(HasPrimaryKey(table)) << table;
  EXPECT_EQ(Books(), books);
  EXPECT_EQ(Rows("SELECT eosId,charName,tribeName,lastLogin,lastLogout,lastServerId FROM {}_player_chars ORDER BY "
                 "eosId,lastLogin"),
            " Ann Wolves 300 400 2 | ann Ann Wolves 100 150 1 | bob   70 90 4 | ");
  EXPECT_EQ(Rows("SELECT eosId,packetName,lastUse FROM {}_player_cooldowns ORDER BY eosId,packetName"),
            " Kit 5 | ann Kit 1000 | bob  80 | ");
  EXPECT_EQ(Rows("SELECT name,version FROM {}_schema"), "tables 2 | ");
  EXPECT_TRUE(log.Contains("rows whose key held NULL were merged")) << ::testing::PrintToString(log.Lines());
  EXPECT_EQ(log.Count("[critical]"), 0u) << ::testing::PrintToString(log.Lines());
  EXPECT_EQ(log.Count("[error]"), 0u) << ::testing::PrintToString(log.Lines());

  // The migrated tables work, and a later start finds nothing to do.
  EXPECT_TRUE(DBHelper::changePoints(u"bob", 5));
  dbtest::LogCapture again;
  DBHelper::createTables();
  EXPECT_FALSE(again.Contains("Migrating")) << ::testing::PrintToString(again.Lines());
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM {}_shoplog"), "3 | ");
}

TEST_F(Migration, TablesOfANewerVersionAreLeftAsTheyAre) {
  if (RefusesTablesWithoutKeys()) GTEST_SKIP() << "this server refuses tables without a primary key";
  MakeFirstTables();
  sql_.Exec(WithPrefix("CREATE TABLE {}_schema (name VARCHAR(31) NOT NULL,version INT NOT NULL DEFAULT 0,updated "
                       "BIGINT NOT NULL DEFAULT 0,PRIMARY KEY(name))"));
  sql_.Exec(WithPrefix("INSERT INTO {}_schema VALUES ('tables',9,0)"));
  dbtest::LogCapture log;
  DBHelper::createTables();
  EXPECT_TRUE(log.Contains("schema version 9, newer than this plugin's 2")) << ::testing::PrintToString(log.Lines());
  EXPECT_FALSE(HasPrimaryKey("shoplog"));
  EXPECT_EQ(Rows("SELECT version FROM {}_schema"), "9 | ");
}

TEST_F(Migration, AResetEmptiesTablesOfMoreRowsThanABatchHolds) {
  DBHelper::createTables();
  const int rows = 2 * DBHelper::kResetBatchRows;  // the last batch finds nothing
  sql_.Exec(WithPrefix("INSERT INTO {}_player_redeems (eosId,packetStr,amount) SELECT CONCAT('p',seq),'Kit',1 FROM "
                       "seq_1_to_" + std::to_string(rows)));
  sql_.Exec(WithPrefix("INSERT INTO {}_player_points (eosId,points) SELECT CONCAT('p',seq),seq FROM seq_1_to_" +
                       std::to_string(rows + 1)));
  const DBHelper::ResetOutcome kits = DBHelper::resetAllKits();
  EXPECT_TRUE(kits.complete);
  EXPECT_EQ(kits.rows, static_cast<uint64_t>(rows));
  EXPECT_EQ(Rows("SELECT COUNT(*) FROM {}_player_redeems"), "0 | ");
  const DBHelper::ResetOutcome points = DBHelper::resetAllPoints();
  EXPECT_TRUE(points.complete);
  EXPECT_EQ(points.rows, static_cast<uint64_t>(rows + 1));
  EXPECT_EQ(Rows("SELECT COUNT(*),SUM(points) FROM {}_player_points"), std::to_string(rows + 1) + " 0 | ");
}

}  // namespace
