// Operations whose connection is lost before their COMMIT went out run again as
// a whole, on a new connection, and apply exactly once; their first try's
// failure is no error line.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "DbTestSupport.h"
#include "db/Attempts.h"
#include "db/DBHelper.h"

namespace {

using dbtest::ShopTables;

ModComm::PlayerServerInfo Player(const char16_t* eosId) { return {eosId, u"Rex (Hunters)", u"Island"}; }

class Retry : public ::testing::Test {
 protected:
  // Runs the operation while another session holds the player's points row; the
  // operation's session is killed while it waits for that row, then the row is
  // let go. The operation's result comes back.
  template <typename Operation>
  auto KilledWhileWaiting(const std::string& eosId, Operation&& operation) {
    dbtest::RawSql locker(db_.Settings(), db_.Settings().Database);
    dbtest::RawSql watcher(db_.Settings(), db_.Settings().Database);
    locker.Exec("BEGIN");
    locker.Exec("SELECT points FROM " + db_.Table("player_points") + " WHERE eosId='" + eosId + "' FOR UPDATE");
    decltype(operation()) result{};
    std::thread running([&] { result = operation(); });
    const bool killed = KillTheWaitingSession(watcher, locker.Scalar("SELECT CONNECTION_ID()"));
    locker.Exec("COMMIT");
    running.join();
    EXPECT_TRUE(killed) << "the operation never waited for the row";
    return result;
  }

  // The session of this test's tables, other than the locker's, with a statement under way.
  bool KillTheWaitingSession(dbtest::RawSql& watcher, const std::string& lockerId) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (std::chrono::steady_clock::now() < until) {
      const auto waiting = watcher.Rows(
          "SELECT ID FROM information_schema.PROCESSLIST WHERE COMMAND='Query' AND ID<>CONNECTION_ID() AND ID<>" +
          lockerId + " AND INFO LIKE '%" + db_.Table("player_points") + "%'");
      if (!waiting.empty()) {
        watcher.Exec("KILL CONNECTION " + waiting[0][0]);
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  ShopTables db_;
};

TEST_F(Retry, OperationsWhoseSessionWasKilledBeforeTheCommitRunAgainAndApplyOnce) {
  db_.SetPoints("p", 500);
  db_.SetPoints("q", 0);
  const DBHelper::RetryCounts before = DBHelper::RetryCountsSoFar();
  dbtest::LogCapture log;

  DBHelper::ShopLogRecord written;
  DBHelper::CooldownBefore cooldown;
  const std::string charge = DBHelper::NewOperationId();
  EXPECT_EQ(KilledWhileWaiting("p",
                               [&] {
                                 return DBHelper::chargePurchase(Player(u"p"), 120, u"Kit,1;;;", u"Kit", 2, u"Kit", 0,
                                                                 written, cooldown, charge);
                               }),
            DBHelper::ChargeResult::Charged);
  EXPECT_EQ(db_.Points("p"), 380);
  EXPECT_EQ(written.newPoints, 380) << "the row handed back is the committed try's";

  EXPECT_EQ(KilledWhileWaiting("p", [] { return DBHelper::tradePoints(u"p", u"P", u"q", u"Q", 80); }),
            DBHelper::kTradeDone);
  EXPECT_EQ(db_.Points("p"), 300);
  EXPECT_EQ(db_.Points("q"), 80);

  EXPECT_EQ(KilledWhileWaiting("p", [] { return DBHelper::changePointsFor(u"p", 50, "AddPoints"); }),
            DBHelper::WriteResult::Done);
  EXPECT_EQ(db_.Points("p"), 350);

  EXPECT_TRUE(KilledWhileWaiting("p", [] { return DBHelper::sellItems(Player(u"p"), u"Stone", u"d", 1, 15); }));
  EXPECT_EQ(db_.Points("p"), 365);

  EXPECT_EQ(db_.Sql().Number("SELECT COUNT(*) FROM " + db_.Table("shoplog")), 2) << "one row per operation";
  EXPECT_EQ(db_.Sql().Number("SELECT COUNT(*) FROM " + db_.Table("tradelog")), 1);
  EXPECT_EQ(DBHelper::RetryCountsSoFar().retries, before.retries + 4);
  EXPECT_EQ(DBHelper::RetryCountsSoFar().gaveUp, before.gaveUp);
  EXPECT_EQ(log.Count("[error]"), 0u) << ::testing::PrintToString(log.Lines());
  EXPECT_EQ(log.Count("[critical]"), 0u) << ::testing::PrintToString(log.Lines());
}

// Nothing to mend: a server that is not there is asked twice on the game
// thread, and the operation says it failed, with one line that it gave up.
TEST_F(Retry, AnOperationThatCannotLandGivesUpAfterItsLastTryAndSaysSo) {
  testsupport::DatabaseSettings nowhere = db_.Settings();
  nowhere.Host = "127.0.0.1";  // one server, not a cluster's list
  nowhere.Port = dbtest::ClosedPort();
  dbtest::ConfigureDatabase(nowhere, db_.Prefix(), db_.Settings().Database);
  const DBHelper::RetryCounts before = DBHelper::RetryCountsSoFar();
  dbtest::LogCapture log;
  EXPECT_EQ(DBHelper::changePointsFor(u"p", 50, "AddPoints"), DBHelper::WriteResult::Failed);
  EXPECT_EQ(DBHelper::RetryCountsSoFar().retries, before.retries + 1);
  EXPECT_EQ(DBHelper::RetryCountsSoFar().gaveUp, before.gaveUp + 1);
  EXPECT_EQ(log.Count("gave up after 2 tries"), 1u) << ::testing::PrintToString(log.Lines());
  EXPECT_EQ(log.Count("[critical] Failed to open connection!"), 1u) << "the first try's failure is no error line";
}

}  // namespace
