// Every operation that changes points or held units, with the answer to its
// COMMIT lost on the way back: its id is looked up, it is applied exactly once,
// and it answers what the database did.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DBHelper.h"
#include "testsupport/FaultyLink.h"

namespace {

using dbtest::ShopTables;

ModComm::PlayerServerInfo Player(const char16_t* eosId) { return {eosId, u"Rex (Hunters)", u"Island"}; }

class ExactlyOnce : public ::testing::Test {
 protected:
  ExactlyOnce() : link_(testsupport::LinkInFrontOf(db_.Settings())) {
    testsupport::DatabaseSettings through = db_.Settings();
    through.Host = testsupport::FaultyLink::Host();
    through.Port = link_.Port();
    dbtest::ConfigureDatabase(through, db_.Prefix(), db_.Settings().Database);
  }
  // Runs the operation with the next commit answer dropped; checks that one was.
  template <typename Operation>
  auto Dropped(Operation&& operation) {
    const uint64_t before = link_.CommitsDropped();
    link_.DropAfterNextCommit();
    auto result = operation();
    EXPECT_EQ(link_.CommitsDropped(), before + 1) << "the commit answer was not dropped";
    return result;
  }

  ShopTables db_;
  testsupport::FaultyLink link_;
};

TEST_F(ExactlyOnce, ChargesSettlementsAndRedeemsWhoseCommitAnswerWasLostAreFoundByTheirId) {
  db_.SetPoints("p", 500);
  DBHelper::ShopLogRecord written;
  DBHelper::CooldownBefore before;
  const std::string charge = DBHelper::NewOperationId();
  EXPECT_EQ(Dropped([&] {
              return DBHelper::chargePurchase(Player(u"p"), 120, u"Kit,1;;;", u"Kit", 2, u"Kit", 0, written, before,
                                              charge);
            }),
            DBHelper::ChargeResult::Charged)
      << "a committed charge was reported as not made";
  EXPECT_EQ(db_.Points("p"), 380);

  EXPECT_EQ(Dropped([&] { return DBHelper::settleOperation(DBHelper::Settings(), charge, 1, 60); }),
            DBHelper::SettleResult::Settled);
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), charge, 1, 60), DBHelper::SettleResult::NothingOwed);
  EXPECT_EQ(db_.Points("p"), 440) << "the refund applied once";

  DBHelper::changeRedeemAmount(u"p", u"Box,0;;;", 3, false);
  const std::string redeem = DBHelper::NewOperationId();
  bool unknown = false;
  const int64_t packed = Dropped([&] {
    return DBHelper::redeemPacket(Player(u"p"), u"Box,0;;;", u"Box", 2, u"", &written, 0, redeem, &unknown);
  });
  EXPECT_EQ(packed & 0xFFFFFFFF, 2);
  EXPECT_FALSE(unknown);
  EXPECT_EQ(db_.Held("p", "Box,0;;;"), 1);
  EXPECT_EQ(Dropped([&] { return DBHelper::settleOperation(DBHelper::Settings(), redeem, 0, std::nullopt); }),
            DBHelper::SettleResult::Settled);
  EXPECT_EQ(db_.Held("p", "Box,0;;;"), 3) << "the units given back once";
}

TEST_F(ExactlyOnce, CreditsTradesAndAdminChangesWhoseCommitAnswerWasLostApplyOnceAndSaySo) {
  db_.SetPoints("p", 100);
  db_.SetPoints("q", 0);
  EXPECT_TRUE(Dropped([] { return DBHelper::sellItems(Player(u"p"), u"Stone", u"d", 1, 15); }));
  EXPECT_EQ(db_.Points("p"), 115);
  EXPECT_EQ(Dropped([] { return DBHelper::tradePoints(u"p", u"P", u"q", u"Q", 15); }), DBHelper::kTradeDone);
  EXPECT_EQ(db_.Points("p"), 100);
  EXPECT_EQ(db_.Points("q"), 15);
  EXPECT_EQ(Dropped([] { return DBHelper::changePointsFor(u"p", 50, "AddPoints"); }), DBHelper::WriteResult::Done);
  EXPECT_EQ(db_.Points("p"), 150);
  EXPECT_EQ(Dropped([] { return DBHelper::assignPointsFor(u"q", 7, "SetPoints"); }), DBHelper::WriteResult::Done);
  EXPECT_EQ(db_.Points("q"), 7);
  EXPECT_EQ(Dropped([] { return DBHelper::creditPointsFor(u"p", 5, "PassiveReward"); }),
            DBHelper::WriteResult::Done);
  EXPECT_EQ(db_.Points("p"), 155);
  EXPECT_TRUE(Dropped([] { return DBHelper::spendPoints(u"p", 55); }));
  EXPECT_EQ(db_.Points("p"), 100);
}

// The admin's held-packet changes and the import of an Arkshop table: a lost
// answer is looked up, the change is kept once and the reply says it was made.
TEST_F(ExactlyOnce, HeldAmountChangesAndImportBatchesWhoseCommitAnswerWasLostApplyOnceAndSaySo) {
  db_.SetPoints("p", 0);
  EXPECT_EQ(Dropped([] { return DBHelper::changeHeldAmount(u"p", u"Box,0;;;", 3, false); }),
            DBHelper::WriteResult::Done);
  EXPECT_EQ(db_.Held("p", "Box,0;;;"), 3);
  EXPECT_EQ(Dropped([] { return DBHelper::changeHeldAmount(u"p", u"Box,0;;;", -2, false); }),
            DBHelper::WriteResult::Done);
  EXPECT_EQ(db_.Held("p", "Box,0;;;"), 1);

  const std::string source = db_.Prefix() + "_ArkShopPlayers";
  db_.Sql().Exec("CREATE TABLE " + source + " (Id INT AUTO_INCREMENT PRIMARY KEY, EosId VARCHAR(50), Points BIGINT)");
  std::string rows;
  for (int i = 0; i < 150; ++i) rows += (i ? ",('ark" : "('ark") + std::to_string(i) + "'," + std::to_string(i) + ")";
  db_.Sql().Exec("INSERT INTO " + source + " (EosId,Points) VALUES " + rows);
  const auto& direct = db_.Settings();
  const uint64_t before = link_.CommitsSeen();
  EXPECT_EQ(Dropped([&] {
              return DBHelper::importArkshopPoints(source, direct.Host, direct.User, direct.Password, direct.Database,
                                                   direct.Port);
            }),
            "Did transfer arkshop points.")
      << "the first batch's lost answer was taken for a failure";
  EXPECT_EQ(link_.CommitsSeen(), before + 2) << "each batch commits once, none is sent again";
  EXPECT_EQ(db_.Sql().Number("SELECT COUNT(*) FROM " + db_.Table("player_points")), 151);
  EXPECT_EQ(db_.Points("ark149"), 149);
  db_.Sql().Exec("DROP TABLE " + source);
}

}  // namespace
