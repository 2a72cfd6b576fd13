#include <gtest/gtest.h>
#include <spdlog/sinks/ringbuffer_sink.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "core/ThreadPool.h"

namespace {

using namespace std::chrono_literals;

// Waits (bounded) until predicate holds, draining results on this thread, which
// plays the game thread.
template <typename Predicate>
bool DrainUntil(ThreadPool& pool, Predicate predicate) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    pool.DrainResults();
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// A gate the test opens to let blocked workers go on.
struct Gate {
  std::mutex mutex;
  std::condition_variable cv;
  bool open = false;
  void Wait() {
    std::unique_lock lock(mutex);
    cv.wait(lock, [this] { return open; });
  }
  void Open() {
    {
      std::lock_guard lock(mutex);
      open = true;
    }
    cv.notify_all();
  }
};

TEST(ThreadPool, TasksPostedBeforeStartWaitAndThenRunInPostingOrder) {
  ThreadPool pool;
  std::mutex mutex;
  std::vector<int> started;
  for (int i = 0; i < 20; ++i) {
    pool.PostTask(PoolTask::MakeJob([&, i] {
      std::lock_guard lock(mutex);
      started.push_back(i);
    }));
  }
  std::this_thread::sleep_for(20ms);
  {
    std::lock_guard lock(mutex);
    EXPECT_TRUE(started.empty()) << "nothing runs before the workers start";
  }
  pool.StartWorkers();
  pool.StopWorkers();
  ASSERT_EQ(started.size(), 20u);
  // Two workers take tasks from the front, so a task never starts more than one
  // place ahead of a task posted before it.
  for (std::size_t i = 0; i < started.size(); ++i) {
    EXPECT_LE(static_cast<std::size_t>(started[i]), i + 1);
  }
}

TEST(ThreadPool, ContinuationsRunOnlyWhenDrainedAndInCompletionOrder) {
  ThreadPool pool;
  std::vector<std::string> order;  // game-thread only
  const auto gameThread = std::this_thread::get_id();
  std::atomic<bool> offGameThread{true};

  // A blocks until B's result is pending, so B completes first.
  pool.PostTask(PoolTask::MakeWork(
      [&](ArkTandor_AsyncTaskResults& r) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (pool.PendingCount() == 0 && std::chrono::steady_clock::now() < deadline)
          std::this_thread::sleep_for(1ms);
        offGameThread = offGameThread && std::this_thread::get_id() != gameThread;
        r.Texts.Add(FString("A"));
      },
      [&](ArkTandor_AsyncTaskResults r) { order.push_back(r.Texts[0].ToUtf8()); }));
  pool.PostTask(PoolTask::MakeWork(
      [&](ArkTandor_AsyncTaskResults& r) {
        r.Texts.Add(FString("B"));
        r.Numbers.Add(2.0f);
      },
      [&](ArkTandor_AsyncTaskResults r) {
        EXPECT_EQ(std::this_thread::get_id(), gameThread);
        EXPECT_EQ(r.Numbers[0], 2.0f);
        order.push_back(r.Texts[0].ToUtf8());
      }));
  pool.StartWorkers();
  const auto deadline0 = std::chrono::steady_clock::now() + 10s;
  while (pool.PendingCount() < 2 && std::chrono::steady_clock::now() < deadline0) std::this_thread::sleep_for(1ms);
  pool.DrainResults();
  EXPECT_EQ(order, (std::vector<std::string>{"B", "A"}));
  EXPECT_TRUE(offGameThread);

  // A finished result stays pending until the game thread drains it.
  pool.PostTask(PoolTask::MakeWork([](ArkTandor_AsyncTaskResults&) {},
                                   [&](ArkTandor_AsyncTaskResults) { order.push_back("C"); }));
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (pool.PendingCount() == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  EXPECT_EQ(order.size(), 2u);
  pool.DrainResults();
  EXPECT_EQ(order.back(), "C");
  pool.StopWorkers();
}

TEST(ThreadPool, StopRunsEveryQueuedTaskAndDiscardsUndrainedResults) {
  ThreadPool pool;
  Gate gate;
  std::atomic<int> jobs{0};
  bool continuationRan = false;
  pool.StartWorkers();
  // Both workers wait at the gate while ten jobs queue up behind them.
  for (int i = 0; i < 2; ++i) pool.PostTask(PoolTask::MakeJob([&] { gate.Wait(); }));
  for (int i = 0; i < 10; ++i) pool.PostTask(PoolTask::MakeJob([&] { ++jobs; }));
  pool.PostTask(PoolTask::MakeWork([](ArkTandor_AsyncTaskResults&) {},
                                   [&](ArkTandor_AsyncTaskResults) { continuationRan = true; }));
  std::thread opener([&] {
    std::this_thread::sleep_for(50ms);
    gate.Open();
  });
  pool.StopWorkers();
  opener.join();
  EXPECT_EQ(jobs.load(), 10);
  EXPECT_EQ(pool.PendingCount(), 0u);
  pool.DrainResults();
  EXPECT_FALSE(continuationRan);
}

TEST(ThreadPool, StopWithoutWorkersStillRunsTheQueuedJobs) {
  ThreadPool pool;
  int jobs = 0;
  for (int i = 0; i < 3; ++i) pool.PostTask(PoolTask::MakeJob([&] { ++jobs; }));
  pool.StopWorkers();
  EXPECT_EQ(jobs, 3);
}

TEST(ThreadPool, AThrowingTaskIsLoggedAndThePoolGoesOn) {
  auto sink = std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(16);
  TandorShop::Log().sinks().push_back(sink);
  ThreadPool pool;
  std::atomic<int> after{0};
  pool.StartWorkers();
  pool.PostTask(PoolTask::MakeJob([] { throw std::runtime_error("disk on fire"); }));
  pool.PostTask(PoolTask::MakeWork([](ArkTandor_AsyncTaskResults&) { throw std::runtime_error("no rows"); },
                                   [](ArkTandor_AsyncTaskResults) { FAIL() << "a failed work hands nothing back"; }));
  for (int i = 0; i < 4; ++i) pool.PostTask(PoolTask::MakeJob([&] { ++after; }));
  pool.StopWorkers();
  pool.DrainResults();
  EXPECT_EQ(after.load(), 4);
  const auto lines = sink->last_formatted();
  const auto count = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find("[error]") != std::string::npos &&
           (line.find("disk on fire") != std::string::npos || line.find("no rows") != std::string::npos);
  });
  EXPECT_EQ(count, 2);
  TandorShop::Log().sinks().pop_back();
}

TEST(ThreadPool, ManyProducersNoTaskLostNoResultDuplicated) {
  ThreadPool pool;
  pool.StartWorkers();
  std::atomic<int> works{0};
  int continuations = 0;
  constexpr int total = 2000;
  for (int i = 0; i < total; ++i) {
    pool.PostTask(PoolTask::MakeWork([&](ArkTandor_AsyncTaskResults&) { ++works; },
                                     [&](ArkTandor_AsyncTaskResults) { ++continuations; }));
    if (i % 100 == 0) pool.DrainResults();
  }
  ASSERT_TRUE(DrainUntil(pool, [&] { return continuations == total; }));
  EXPECT_EQ(works.load(), total);
  pool.StopWorkers();
}

TEST(ThreadPool, TasksOfOneKeyRunOneAtATimeInPostingOrderWhileOthersPass) {
  ThreadPool pool;
  Gate gate;
  std::mutex mutex;
  std::vector<std::string> ran;
  auto note = [&](const std::string& what) {
    std::lock_guard lock(mutex);
    ran.push_back(what);
  };
  pool.StartWorkers();
  // The login holds its key at the gate; the logout of the same player waits
  // behind it although a worker is free, while another player's task passes.
  pool.PostTask(PoolTask::MakeJob([&] {
                  gate.Wait();
                  note("login");
                }).OrderedBy("p1"));
  pool.PostTask(PoolTask::MakeJob([&] { note("logout"); }).OrderedBy("p1"));
  pool.PostTask(PoolTask::MakeJob([&] { note("other"); }).OrderedBy("p2"));
  ASSERT_TRUE(DrainUntil(pool, [&] {
    std::lock_guard lock(mutex);
    return !ran.empty();
  }));
  std::this_thread::sleep_for(20ms);
  {
    std::lock_guard lock(mutex);
    EXPECT_EQ(ran, std::vector<std::string>{"other"});
  }
  // Stopping with the key still held runs what waits behind it.
  std::thread opener([&] {
    std::this_thread::sleep_for(20ms);
    gate.Open();
  });
  pool.StopWorkers();
  opener.join();
  EXPECT_EQ(ran, (std::vector<std::string>{"other", "login", "logout"}));
}

}  // namespace
