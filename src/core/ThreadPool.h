#pragma once
// Two worker threads that take database work off the game thread. Finished
// results wait in a list until the game thread drains them and runs their
// continuations.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/AsyncTaskResults.h"

struct PoolTask {
  enum Kind : int32_t { RunsJob = 0, RunsWork = 1, RunsNothing = 2 };

  std::function<void(ArkTandor_AsyncTaskResults&)> Work;
  std::function<void()> Job;
  std::function<void(ArkTandor_AsyncTaskResults)> Then;
  int32_t TaskKind = RunsNothing;
  // Tasks with the same non-empty key run one at a time, in posting order (a
  // player's login and logout writes). Tasks without a key run as they come.
  std::string OrderKey;

  PoolTask() = default;
  PoolTask(PoolTask&& other) noexcept;
  PoolTask& operator=(PoolTask&& other) noexcept;
  PoolTask(const PoolTask&) = delete;
  PoolTask& operator=(const PoolTask&) = delete;

  static PoolTask MakeJob(std::function<void()> job);
  static PoolTask MakeWork(std::function<void(ArkTandor_AsyncTaskResults&)> work,
                           std::function<void(ArkTandor_AsyncTaskResults)> then);
  // The same task, ordered after every earlier task posted with this key.
  PoolTask OrderedBy(std::string key) &&;
};

struct PendingResult {
  std::function<void(ArkTandor_AsyncTaskResults)> Then;
  ArkTandor_AsyncTaskResults Result;
};

class ThreadPool {
 public:
  ThreadPool() = default;
  ~ThreadPool();
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;

  static constexpr int WorkerCount = 2;

  // Appends the task; never waits for work. May be called before the workers start.
  void PostTask(PoolTask task);
  // What each worker holds for as long as it runs (the database layer's kept
  // connection, say): made on the worker when it starts, released when it ends.
  using WorkerScope = std::function<std::shared_ptr<void>()>;

  // Starts the two workers (once), each holding what scope makes. Throws
  // std::system_error when a thread cannot start.
  void StartWorkers(WorkerScope scope = {});
  // Runs every queued task, joins the workers and discards undrained results.
  void StopWorkers();
  // Game thread: runs the continuations of finished tasks, in completion order.
  void DrainResults();

  bool Started() const;
  std::size_t PendingCount();
  // Tasks waiting for a worker.
  std::size_t QueuedCount();

 private:
  void WorkerLoop(const WorkerScope& scope);
  void RunTask(PoolTask& task);
  // Under the queue mutex: the first task no other worker's key holds back.
  std::deque<PoolTask>::iterator NextRunnable();


  std::vector<PendingResult> pending_;
  std::mutex pendingMutex_;
  std::vector<std::thread> workers_;
  std::deque<PoolTask> queue_;
  mutable std::mutex queueMutex_;
  std::condition_variable wake_;
  std::vector<std::string> runningKeys_;  // keys of the tasks the workers run now
  bool stop_ = false;
};

namespace TandorShop {
// The process-wide pool, constructed when the library loads.
ThreadPool& Pool();
}  // namespace TandorShop
