// Importing an Arkshop points table.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"

namespace {

using dbtest::ShopTables;

class ArkshopImport : public ::testing::Test {
 protected:
  ArkshopImport() : source_(db_.Prefix() + "_ArkShopPlayers") {
    db_.Sql().Exec("CREATE TABLE " + source_ + " (Id INT AUTO_INCREMENT PRIMARY KEY, EosId VARCHAR(50), Kits TEXT, "
                   "Points BIGINT, TotalSpent INT)");
  }
  ~ArkshopImport() override { db_.Sql().Exec("DROP TABLE IF EXISTS " + source_); }

  void AddRows(int count, int firstId = 0) {
    std::string statement = "INSERT INTO " + source_ + " (EosId,Points) VALUES ";
    for (int i = 0; i < count; ++i)
      statement += (i ? "," : "") + std::string("('ark") + std::to_string(firstId + i) + "'," + std::to_string(firstId + i) + ")";
    db_.Sql().Exec(statement);
  }
  std::string Import(const std::string& table) {
    const auto& s = db_.Settings();
    return DBHelper::importArkshopPoints(table, s.Host, s.User, s.Password, s.Database, s.Port);
  }
  int64_t Imported() { return db_.Sql().Number("SELECT COUNT(*) FROM " + db_.Table("player_points")); }

  ShopTables db_;
  std::string source_;
};

TEST_F(ArkshopImport, TwoHundredFiftyRowsInThreeStatementsKeepingExistingPlayers) {
  AddRows(250);
  db_.Sql().Exec("UPDATE " + source_ + " SET Points=NULL WHERE EosId='ark5'");
  db_.Sql().Exec("UPDATE " + source_ + " SET EosId=CONCAT('x\\'\"\\\\;--',EosId) WHERE EosId='ark6'");
  db_.SetPoints("ark7", 1234);  // already playing here
  EXPECT_EQ(Import(source_), "Did transfer arkshop points.");
  EXPECT_EQ(Imported(), 250);
  EXPECT_EQ(db_.Points("ark249"), 249);
  EXPECT_EQ(db_.Points("ark5"), 0);                  // NULL points
  EXPECT_EQ(db_.Points("x'\"\\;--ark6"), 6);         // hostile id stored as it was read
  EXPECT_EQ(db_.Points("ark7"), 1234);               // existing row kept

  // Running it again changes nothing, even after points were spent.
  db_.SetPoints("ark249", 1);
  EXPECT_EQ(Import(source_), "Did transfer arkshop points.");
  EXPECT_EQ(Imported(), 250);
  EXPECT_EQ(db_.Points("ark249"), 1);
}

TEST_F(ArkshopImport, RowsAreWrittenAHundredPerStatement) {
  std::vector<DBHelper::ArkshopPoints> entries;
  for (int i = 0; i < 250; ++i) entries.push_back({"id" + std::to_string(i), i});
  DBHelper::DBConnection target(DBHelper::Settings());
  const auto inserts = [&] {
    int64_t count = 0;
    target.Connection().query("SHOW SESSION STATUS LIKE 'Com_insert'")[0].get(1, count);
    return count;
  };
  const int64_t before = inserts();
  const DBHelper::ArkshopWrite written = DBHelper::insertArkshopData(target, entries, 99);
  EXPECT_EQ(inserts() - before, 3);
  EXPECT_EQ(written.statements, 3);
  EXPECT_TRUE(written.complete);
  EXPECT_EQ(Imported(), 250);
}

TEST_F(ArkshopImport, RepliesForMissingSourcesAndRejectedNames) {
  EXPECT_EQ(Import(source_), "Failed to get arkshop player data.");  // empty table
  EXPECT_EQ(Import(db_.Prefix() + "_missing"), "Failed to get arkshop player data.");
  AddRows(3);
  dbtest::LogCapture log;
  EXPECT_EQ(Import(source_ + "`; DROP TABLE " + db_.Table("player_points") + "; --"), "Failed to get arkshop player data.");
  EXPECT_EQ(Import("a.b"), "Failed to get arkshop player data.");
  EXPECT_EQ(db_.Points("ark1"), -1);  // the points table is still there and untouched
  const auto& s = db_.Settings();
  EXPECT_EQ(DBHelper::importArkshopPoints(source_, "127.0.0.1", s.User, s.Password, s.Database, dbtest::ClosedPort()),
            "Failed to get connect to database for arkshop data.");
}

TEST_F(ArkshopImport, AFailingBatchIsReportedWithTheRowsWrittenBeforeIt) {
  AddRows(250);
  // A trigger rejects the third batch's rows, as a full disk or a lost server would.
  db_.Sql().Exec("CREATE TRIGGER " + db_.Prefix() + "_reject BEFORE INSERT ON " + db_.Table("player_points") +
                 " FOR EACH ROW BEGIN IF NEW.points >= 200 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='full'; "
                 "END IF; END");
  dbtest::LogCapture log;
  EXPECT_EQ(Import(source_), "Failed to transfer arkshop points: 200 of 250 rows were written before the failing batch.");
  EXPECT_EQ(Imported(), 200);
  EXPECT_TRUE(log.Contains("DBHelper::insertArkshopData) Unexpected DB error full"));
}

// The shop holds 0 to 2147483647 points: a row outside is not copied, and the
// reply says how many were.
TEST_F(ArkshopImport, PointsTheShopCannotHoldAreSkippedByNameAndCounted) {
  AddRows(3);
  db_.Sql().Exec("INSERT INTO " + source_ + " (EosId,Points) VALUES ('debtor',-5),('whale',2147483648),"
                 "('edge',2147483647),('',4)");
  dbtest::LogCapture log;
  EXPECT_EQ(Import(source_), "Did transfer arkshop points. 3 of 7 rows were skipped, see the log.");
  EXPECT_EQ(Imported(), 4);
  EXPECT_EQ(db_.Points("edge"), 2147483647);
  EXPECT_EQ(db_.Points("debtor"), -1) << "no row";
  EXPECT_EQ(db_.Points("whale"), -1) << "no row";
  EXPECT_TRUE(log.Contains("Skipped arkshop row of eosId debtor: -5 points are outside 0 to 2147483647."));
  EXPECT_TRUE(log.Contains("Skipped arkshop row of eosId whale: 2147483648 points are outside 0 to 2147483647."));
  EXPECT_TRUE(log.Contains("Skipped 1 arkshop rows without a usable EOS id."));

  db_.Sql().Exec("DELETE FROM " + source_ + " WHERE Points BETWEEN 0 AND 2147483647");
  EXPECT_EQ(Import(source_), "Did not transfer arkshop points: all 2 rows were skipped, see the log.");
  EXPECT_EQ(Imported(), 4);
}

}  // namespace
