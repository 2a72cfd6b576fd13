// Worker threads that keep their connection between operations.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "DbTestSupport.h"
#include "core/ThreadPool.h"
#include "db/DBConnection.h"
#include "db/DBHelper.h"
#include "db/DBSettings.h"
#include "db/KeptConnection.h"

namespace {

using dbtest::LogCapture;
using dbtest::ShopTables;

// Runs work on one of the pool's workers and waits for its answer.
template <typename Work>
auto OnWorker(ThreadPool& pool, Work work) {
  using Result = decltype(work());
  auto promise = std::make_shared<std::promise<Result>>();
  std::future<Result> answer = promise->get_future();
  pool.PostTask(PoolTask::MakeJob([promise, work] { promise->set_value(work()); }));
  return answer.get();
}

// The server's id of the session the next operation on this thread works on.
int64_t SessionOfNextOperation() {
  DBHelper::DBConnection db(DBHelper::Settings());
  if (!db.IsOpen()) return -1;
  mysql::result rows = db.Connection().query("SELECT CONNECTION_ID()");
  int64_t id = -1;
  rows[0].get(0, id);
  db.Finish();
  return id;
}

std::set<int64_t> SessionsOfOperations(ThreadPool& pool, int count) {
  std::set<int64_t> sessions;
  for (int i = 0; i < count; ++i) sessions.insert(OnWorker(pool, SessionOfNextOperation));
  return sessions;
}

// Lets its callers through together once `count` of them arrived. Not
// std::latch: MinGW's GCC 12 builds it on a waiter that can miss the last
// arrival's wake-up (the target has no futex), and the test then hangs.
class StartGate {
 public:
  explicit StartGate(int count) : left_(count) {}
  void ArriveAndWait() {
    std::unique_lock lock(mutex_);
    if (--left_ == 0) open_.notify_all();
    open_.wait(lock, [this] { return left_ <= 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable open_;
  int left_;
};

// The session each worker's next operation works on, one operation per worker:
// every task waits until all have started, so no worker can take two.
std::set<int64_t> SessionsOfEveryWorker(ThreadPool& pool) {
  auto started = std::make_shared<StartGate>(ThreadPool::WorkerCount);
  std::vector<std::future<int64_t>> answers;
  for (int i = 0; i < ThreadPool::WorkerCount; ++i) {
    auto promise = std::make_shared<std::promise<int64_t>>();
    answers.push_back(promise->get_future());
    pool.PostTask(PoolTask::MakeJob([promise, started] {
      started->ArriveAndWait();
      promise->set_value(SessionOfNextOperation());
    }));
  }
  std::set<int64_t> sessions;
  for (auto& answer : answers) sessions.insert(answer.get());
  return sessions;
}

int64_t OpenSessions(ShopTables& db, const std::set<int64_t>& ids) {
  std::string list;
  for (const int64_t id : ids) list += (list.empty() ? "" : ",") + std::to_string(id);
  return db.Sql().Number("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID IN (" + list + ")");
}

// The server forgets a closed session a moment after the client said goodbye.
bool SessionsEnd(ShopTables& db, const std::set<int64_t>& ids) {
  for (int i = 0; i < 500; ++i) {
    if (OpenSessions(db, ids) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(KeptConnections, WorkersReuseOneSessionEachAndCloseThemWhenTheyStop) {
  ShopTables db;
  ThreadPool pool;
  pool.StartWorkers(&DBHelper::MakeWorkerConnectionScope);

  const std::set<int64_t> perOperation = SessionsOfOperations(pool, 20);
  EXPECT_EQ(perOperation.size(), 20u);  // the setting is off: a connection per operation

  dbtest::ConfigureDatabase(db.Settings(), db.Prefix(), db.Settings().Database, true);
  const std::set<int64_t> kept = SessionsOfOperations(pool, 40);
  EXPECT_GE(kept.size(), 1u);
  EXPECT_LE(kept.size(), 2u);  // one per worker, never more
  EXPECT_EQ(OpenSessions(db, kept), static_cast<int64_t>(kept.size()));

  // Real operations on the kept sessions, and the game thread keeps opening its own.
  db.SetPoints("p", 0);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(OnWorker(pool, [] { return DBHelper::changePoints(u"p", 2); }));
  EXPECT_EQ(db.Points("p"), 20);
  EXPECT_NE(SessionOfNextOperation(), SessionOfNextOperation());

  pool.StopWorkers();
  EXPECT_TRUE(SessionsEnd(db, kept));
}

TEST(KeptConnections, ChangedSettingsReconnectBeforeTheNextOperation) {
  ShopTables db;
  dbtest::ConfigureDatabase(db.Settings(), db.Prefix(), db.Settings().Database, true);
  ThreadPool pool;
  pool.StartWorkers(&DBHelper::MakeWorkerConnectionScope);
  const std::set<int64_t> before = SessionsOfEveryWorker(pool);
  ASSERT_EQ(before.size(), static_cast<std::size_t>(ThreadPool::WorkerCount));

  // A reload that changes nothing about the connection keeps the sessions.
  dbtest::ConfigureDatabase(db.Settings(), db.Prefix(), db.Settings().Database, true);
  EXPECT_EQ(SessionsOfEveryWorker(pool), before);
  for (const int64_t id : SessionsOfOperations(pool, 6)) EXPECT_TRUE(before.count(id)) << id;

  // A reload pointing somewhere unreachable: every worker notices at once.
  auto unreachable = db.Settings();
  unreachable.Host = "127.0.0.1";  // one server (the environment may list a cluster's nodes)
  unreachable.Port = dbtest::ClosedPort();
  dbtest::ConfigureDatabase(unreachable, db.Prefix(), unreachable.Database, true);
  {
    LogCapture log;
    EXPECT_EQ(SessionsOfEveryWorker(pool), std::set<int64_t>{-1});
    EXPECT_EQ(SessionsOfOperations(pool, 2), std::set<int64_t>{-1});
    EXPECT_EQ(log.Count("Failed to open connection!"), 2u + ThreadPool::WorkerCount);
  }
  // And back: new sessions, the old ones are closed.
  dbtest::ConfigureDatabase(db.Settings(), db.Prefix(), db.Settings().Database, true);
  const std::set<int64_t> after = SessionsOfEveryWorker(pool);
  EXPECT_EQ(after.size(), static_cast<std::size_t>(ThreadPool::WorkerCount));
  for (const int64_t id : after) EXPECT_FALSE(before.count(id)) << id;
  EXPECT_TRUE(SessionsEnd(db, before));

  // Turning the setting off closes what the workers kept.
  dbtest::ConfigureDatabase(db.Settings(), db.Prefix(), db.Settings().Database, false);
  SessionsOfEveryWorker(pool);
  EXPECT_TRUE(SessionsEnd(db, after));
}

TEST(KeptConnections, ASessionTheServerEndedIsReplacedWithoutAFailedOperation) {
  ShopTables db;
  db.SetPoints("q", 10);
  db.SetPoints("r", 0);
  dbtest::ConfigureDatabase(db.Settings(), db.Prefix(), db.Settings().Database, true);
  ThreadPool pool;
  pool.StartWorkers(&DBHelper::MakeWorkerConnectionScope);
  const std::set<int64_t> killed = SessionsOfEveryWorker(pool);
  for (const int64_t id : killed) db.Sql().Exec("KILL " + std::to_string(id));
  ASSERT_TRUE(SessionsEnd(db, killed));

  // Trades run in a transaction, where the client library does not reconnect.
  LogCapture log;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(OnWorker(pool, [] { return DBHelper::tradePoints(u"q", u"Q", u"r", u"R", 1); }), 0);
  EXPECT_EQ(db.Points("q"), 6);
  EXPECT_EQ(db.Points("r"), 4);
  EXPECT_EQ(log.Count("Unexpected DB error"), 0u) << (log.Lines().empty() ? "" : log.Lines()[0]);
}

TEST(KeptConnections, ServiceResumesAfterTheServerIsKilledAndRestarted) {
  dbtest::OwnServer server;
  auto settings = testsupport::DatabaseFromEnvironment();
  settings.Host = "127.0.0.1";
  settings.Port = server.Port();
  settings.Database = "tandorshop";
  dbtest::ConfigureDatabase(settings, "k", settings.Database, true);
  DBHelper::createTables();
  ThreadPool pool;
  pool.StartWorkers(&DBHelper::MakeWorkerConnectionScope);
  const auto add = [] { return DBHelper::changePoints(u"p", 1); };
  const auto read = [] { return DBHelper::loadPlayerPoints(u"p").points; };
  EXPECT_EQ(OnWorker(pool, read), 0);
  EXPECT_TRUE(OnWorker(pool, add));

  server.Kill();
  {
    LogCapture log;
    EXPECT_FALSE(OnWorker(pool, add));  // down: failed and logged, never a success
    EXPECT_TRUE(log.Contains("Failed to open connection!") || log.Contains("Unexpected DB error"));
  }
  server.Start();
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(OnWorker(pool, add));
  EXPECT_EQ(OnWorker(pool, read), 5);
}

}  // namespace
