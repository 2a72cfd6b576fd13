// What a charge or a redeem owes until its goods arrived, settled exactly once.
#include <gtest/gtest.h>

#include <limits>

#include "DbTestSupport.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"

namespace {

using dbtest::ShopTables;
using DBHelper::SettleResult;

ModComm::PlayerServerInfo Player(const char16_t* eosId) { return {eosId, u"Rex (Hunters)", u"Island"}; }

int64_t Count(ShopTables& db, const std::string& table, const std::string& where = "1") {
  return db.Sql().Number("SELECT COUNT(*) FROM " + db.Table(table) + " WHERE " + where);
}

int64_t Cooldown(ShopTables& db, const std::string& name) {
  const std::string value =
      db.Sql().Scalar("SELECT lastUse FROM " + db.Table("player_cooldowns") + " WHERE packetName=" + dbtest::Quote(name));
  return value == "<none>" ? -1 : std::stoll(value);
}

struct Charge {
  DBHelper::ShopLogRecord written;
  DBHelper::CooldownBefore before;
  std::string opId = DBHelper::NewOperationId();
  DBHelper::ChargeResult result = DBHelper::ChargeResult::Failed;
};

Charge ChargeKit(int32_t points, int32_t units, int32_t cooldownSeconds = 0) {
  Charge charge;
  charge.result = DBHelper::chargePurchase(Player(u"p"), points, u"Kit,1;;;", u"Kit", units, u"Kit", cooldownSeconds,
                                           charge.written, charge.before, charge.opId);
  return charge;
}

// A refund and a record of full delivery each land once, however often they are
// tried; the log row is brought down to what arrived.
TEST(Settlements, AChargeOwesUntilSettledAndASettlementAppliesOnce) {
  ShopTables db;
  db.SetPoints("p", 500);
  const Charge full = ChargeKit(100, 2);
  ASSERT_EQ(full.result, DBHelper::ChargeResult::Charged);
  EXPECT_EQ(Count(db, "settlements"), 1) << "the charge owes its goods";
  EXPECT_EQ(Count(db, "operations", "opId='" + full.opId + "'"), 1) << "and left its id";
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), full.opId, 2, 0), SettleResult::Settled);
  EXPECT_EQ(Count(db, "settlements"), 0);
  EXPECT_EQ(db.Points("p"), 400);

  const Charge half = ChargeKit(100, 2);
  ASSERT_EQ(half.result, DBHelper::ChargeResult::Charged);
  for (int attempt = 0; attempt < 3; ++attempt)
    EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), half.opId, 1, 50),
              attempt == 0 ? SettleResult::Settled : SettleResult::NothingOwed);
  EXPECT_EQ(db.Points("p"), 350) << "the refund of the unit that did not arrive, once";
  EXPECT_EQ(db.Sql().Scalar("SELECT GROUP_CONCAT(CONCAT(amount,':',points_change) ORDER BY amount) FROM " +
                            db.Table("shoplog")),
            "1:-50,2:-100");
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), DBHelper::NewOperationId(), 0, std::nullopt),
            SettleResult::NothingOwed)
      << "an id that never committed owes nothing";
}

// A cooldown goes back only while it is still the one the purchase wrote; a
// redeem that delivered nothing gives its cooldown back as a purchase does.
TEST(Settlements, NothingArrivedGivesBackTheCooldownUnlessANewerOneReplacedIt) {
  ShopTables db;
  db.SetPoints("p", 500);
  const Charge first = ChargeKit(10, 1, 3600);
  ASSERT_EQ(first.result, DBHelper::ChargeResult::Charged);
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), first.opId, 0, std::nullopt), SettleResult::Settled);
  EXPECT_EQ(Cooldown(db, "Kit"), -1) << "no cooldown before the purchase, none after its refund";
  EXPECT_EQ(db.Points("p"), 500);

  const Charge late = ChargeKit(10, 1, 3600);
  ASSERT_EQ(late.result, DBHelper::ChargeResult::Charged);
  db.Sql().Exec("UPDATE " + db.Table("player_cooldowns") + " SET lastUse=lastUse+60");  // a newer purchase
  const int64_t newer = Cooldown(db, "Kit");
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), late.opId, 0, std::nullopt), SettleResult::Settled);
  EXPECT_EQ(Cooldown(db, "Kit"), newer) << "a refund that lands late leaves the newer cooldown";

  DBHelper::changeRedeemAmount(u"p", u"Box,0;;;", 2, false);
  db.Sql().Exec("DELETE FROM " + db.Table("player_cooldowns"));
  const std::string redeem = DBHelper::NewOperationId();
  DBHelper::ShopLogRecord written;
  const int64_t packed =
      DBHelper::redeemPacket(Player(u"p"), u"Box,0;;;", u"Box", 2, u"Box", &written, 3600, redeem);
  ASSERT_EQ(packed & 0xFFFFFFFF, 2);
  EXPECT_EQ(db.Held("p", "Box,0;;;"), -1) << "both units taken";
  EXPECT_GT(Cooldown(db, "Box"), 0);
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), redeem, 0, std::nullopt), SettleResult::Settled);
  EXPECT_EQ(db.Held("p", "Box,0;;;"), 2);
  EXPECT_EQ(Cooldown(db, "Box"), -1) << "the redeem that delivered nothing starts no cooldown";
  EXPECT_EQ(Count(db, "shoplog", "isRedeem"), 0) << "and leaves no log row";
}

// A reward row an admin set to 0, or whose last unit was redeemed, stays: deleting
// it would grant the reward again at the next login.
TEST(Settlements, RewardRowsAreKeptAtZero) {
  ShopTables db;
  db.SetPoints("p", 0);
  DBHelper::changeRedeemAmount(u"p", u"Gift,1", 1, true);
  EXPECT_NE(DBHelper::redeemPacket(Player(u"p"), u"Gift,1", u"Gift", 1, u""), -1);
  EXPECT_EQ(db.Held("p", "Gift,1"), 0);
  EXPECT_EQ(DBHelper::redeemPacket(Player(u"p"), u"Gift,1", u"Gift", 1, u""), -1);
  EXPECT_EQ(db.Held("p", "Gift,1"), 0) << "redeeming an emptied reward row keeps it";
  DBHelper::changeRedeemAmount(u"p", u"Kit,0;;;", 1, false);
  EXPECT_NE(DBHelper::redeemPacket(Player(u"p"), u"Kit,0;;;", u"Kit", 1, u""), -1);
  EXPECT_EQ(db.Held("p", "Kit,0;;;"), -1) << "a bought packet's emptied row goes";
}

// A refund that can never land (the player's row is gone) is given up with an
// error line and stays for an admin; leftovers of an earlier run are found by
// server and settled with a line naming player, amount and operation.
TEST(Settlements, GivenUpSettlementsStayVisibleAndLeftoversAreFoundByServer) {
  ShopTables db;
  db.SetPoints("p", 100);
  const Charge gone = ChargeKit(40, 1);
  ASSERT_EQ(gone.result, DBHelper::ChargeResult::Charged);
  db.Sql().Exec("DELETE FROM " + db.Table("player_points"));
  dbtest::LogCapture log;
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), gone.opId, 0, std::nullopt), SettleResult::GivenUp);
  EXPECT_TRUE(log.Contains("Settlement " + gone.opId + " given up for eosId p")) << log.Lines().back();
  EXPECT_EQ(Count(db, "settlements", "state=2"), 1);
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), gone.opId, 0, std::nullopt), SettleResult::GivenUp);
  EXPECT_TRUE(DBHelper::leftoverSettlements(DBHelper::Settings(), 0, std::numeric_limits<int64_t>::max()).empty())
      << "a given-up settlement is not tried again at every start";

  db.SetPoints("p", 100);
  const Charge left = ChargeKit(30, 1);
  ASSERT_EQ(left.result, DBHelper::ChargeResult::Charged);
  EXPECT_TRUE(DBHelper::leftoverSettlements(DBHelper::Settings(), 7, std::numeric_limits<int64_t>::max()).empty())
      << "another server's settlements are its own";
  const auto leftovers = DBHelper::leftoverSettlements(DBHelper::Settings(), 0, std::numeric_limits<int64_t>::max());
  ASSERT_EQ(leftovers, std::vector<std::string>{left.opId});
  EXPECT_EQ(DBHelper::settleOperation(DBHelper::Settings(), left.opId, 0, std::nullopt, "left by an earlier run"),
            SettleResult::Settled);
  EXPECT_TRUE(log.Contains("Settled purchase " + left.opId + " (left by an earlier run): 30 points refunded to eosId p"));
  EXPECT_EQ(db.Points("p"), 100);
}

// Credits make the player's row when login could not; names the server does not
// configure keep their cooldown rows at start-up; a negative spend is refused.
TEST(Settlements, CreditsMakeTheRowAndStartUpKeepsOtherServersCooldowns) {
  ShopTables db;
  EXPECT_EQ(DBHelper::creditPointsFor(u"new", 25, "PassiveReward"), DBHelper::WriteResult::Done);
  EXPECT_EQ(db.Points("new"), 25);
  EXPECT_TRUE(DBHelper::sellItems(Player(u"seller"), u"Stone", u"d", 1, 15));
  EXPECT_EQ(db.Points("seller"), 15);

  db.SetPoints("p", 10);
  EXPECT_FALSE(DBHelper::spendPoints(u"p", -50));
  EXPECT_EQ(db.Points("p"), 10);

  const auto insert = [&](const std::string& name, int64_t age) {
    db.Sql().Exec("INSERT INTO " + db.Table("player_cooldowns") + " (eosId,packetName,lastUse) VALUES ('p','" +
                  name + "',UNIX_TIMESTAMP()-" + std::to_string(age) + ")");
  };
  insert("Ours", 40 * 86400);
  insert("Theirs", 40 * 86400);  // a 60-day cooldown of another server of the network
  DBHelper::runStartupMaintenance({{u"Ours", 3600}});
  EXPECT_EQ(db.Sql().Scalar("SELECT GROUP_CONCAT(packetName) FROM " + db.Table("player_cooldowns")), "Theirs");
}

// Ids are kept only as long as a retry can need them.
TEST(Settlements, OperationIdsADayOldAreCleared) {
  ShopTables db;
  db.SetPoints("p", 10);
  ASSERT_EQ(DBHelper::changePointsFor(u"p", 5, "AddPoints"), DBHelper::WriteResult::Done);
  db.Sql().Exec("INSERT INTO " + db.Table("operations") + " (opId,eosId,kind,created) VALUES ('" +
                std::string(32, 'f') + "','p','old',UNIX_TIMESTAMP()-90000)");
  EXPECT_EQ(Count(db, "operations"), 2);
  EXPECT_EQ(DBHelper::clearOldOperationIds(db.Sql().Number("SELECT UNIX_TIMESTAMP()")), 1u);
  EXPECT_EQ(Count(db, "operations", "kind='AddPoints'"), 1) << "a fresh id stays";
}

}  // namespace
