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
  ExactlyOnce() : link_(db_.Settings().Host, db_.Settings().Port) {
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

}  // namespace
