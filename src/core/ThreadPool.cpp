#include "core/ThreadPool.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "core/Log.h"

PoolTask::PoolTask(PoolTask&& other) noexcept
    : Work(std::move(other.Work)),
      Job(std::move(other.Job)),
      Then(std::move(other.Then)),
      TaskKind(std::exchange(other.TaskKind, RunsNothing)),
      OrderKey(std::move(other.OrderKey)) {}

PoolTask& PoolTask::operator=(PoolTask&& other) noexcept {
  Work = std::move(other.Work);
  Job = std::move(other.Job);
  Then = std::move(other.Then);
  TaskKind = std::exchange(other.TaskKind, RunsNothing);
  OrderKey = std::move(other.OrderKey);
  return *this;
}

PoolTask PoolTask::OrderedBy(std::string key) && {
  OrderKey = std::move(key);
  return std::move(*this);
}

PoolTask PoolTask::MakeJob(std::function<void()> job) {
  PoolTask task;
  task.Job = std::move(job);
  task.TaskKind = RunsJob;
  return task;
}

PoolTask PoolTask::MakeWork(std::function<void(ArkTandor_AsyncTaskResults&)> work,
                            std::function<void(ArkTandor_AsyncTaskResults)> then) {
  PoolTask task;
  task.Work = std::move(work);
  task.Then = std::move(then);
  task.TaskKind = RunsWork;
  return task;
}

ThreadPool::~ThreadPool() { StopWorkers(); }

void ThreadPool::PostTask(PoolTask task) {
  {
    std::lock_guard lock(queueMutex_);
    queue_.push_back(std::move(task));
  }
  wake_.notify_one();
}

void ThreadPool::StartWorkers(WorkerScope scope) {
  std::lock_guard lock(queueMutex_);
  if (!workers_.empty()) return;
  stop_ = false;
  for (int i = 0; i < WorkerCount; ++i) workers_.emplace_back(&ThreadPool::WorkerLoop, this, scope);
}

bool ThreadPool::Started() const {
  std::lock_guard lock(queueMutex_);
  return !workers_.empty();
}

void ThreadPool::StopWorkers() {
  std::vector<std::thread> workers;
  {
    std::lock_guard lock(queueMutex_);
    stop_ = true;
    workers.swap(workers_);
  }
  wake_.notify_all();
  for (std::thread& worker : workers) worker.join();

  // Without workers nobody took the queue: run what is left here, so no queued
  // write is lost at shut-down.
  std::deque<PoolTask> leftover;
  {
    std::lock_guard lock(queueMutex_);
    leftover.swap(queue_);
  }
  for (PoolTask& task : leftover) RunTask(task);

  std::lock_guard lock(pendingMutex_);
  pending_.clear();
}

std::deque<PoolTask>::iterator ThreadPool::NextRunnable() {
  return std::find_if(queue_.begin(), queue_.end(), [this](const PoolTask& task) {
    return task.OrderKey.empty() ||
           std::find(runningKeys_.begin(), runningKeys_.end(), task.OrderKey) == runningKeys_.end();
  });
}

void ThreadPool::WorkerLoop(const WorkerScope& scope) {
  std::shared_ptr<void> held;  // released when the worker ends
  try {
    if (scope) held = scope();
  } catch (const std::exception& e) {
    TandorShop::Log().error("A worker started without its scope: {}", e.what());
  }
  for (;;) {
    PoolTask task;
    {
      std::unique_lock lock(queueMutex_);
      // A task whose key another worker holds waits for that worker, even while
      // stopping: every queued task still runs.
      wake_.wait(lock, [this] { return NextRunnable() != queue_.end() || (stop_ && queue_.empty()); });
      if (queue_.empty()) return;  // stopping, and nothing left to run
      const auto next = NextRunnable();
      task = std::move(*next);
      queue_.erase(next);
      if (!task.OrderKey.empty()) runningKeys_.push_back(task.OrderKey);
    }
    RunTask(task);
    if (!task.OrderKey.empty()) {
      {
        std::lock_guard lock(queueMutex_);
        runningKeys_.erase(std::find(runningKeys_.begin(), runningKeys_.end(), task.OrderKey));
      }
      wake_.notify_all();  // the key's next task may wait for any worker
    }
  }
}

void ThreadPool::RunTask(PoolTask& task) {
  try {
    if (task.TaskKind == PoolTask::RunsJob) {
      if (task.Job) task.Job();
    } else if (task.TaskKind == PoolTask::RunsWork) {
      ArkTandor_AsyncTaskResults result;
      if (task.Work) task.Work(result);
      PendingResult finished{task.Then, result};
      std::lock_guard lock(pendingMutex_);
      pending_.push_back(std::move(finished));
    }
  } catch (const std::exception& e) {
    TandorShop::Log().error("A worker task failed: {}", e.what());
  } catch (...) {
    TandorShop::Log().error("A worker task failed with an unknown error");
  }
}

void ThreadPool::DrainResults() {
  std::vector<PendingResult> finished;
  {
    std::lock_guard lock(pendingMutex_);
    if (pending_.empty()) return;
    finished.swap(pending_);
  }
  for (PendingResult& entry : finished) {
    if (!entry.Then) continue;
    try {
      entry.Then(entry.Result);
    } catch (const std::exception& e) {
      TandorShop::Log().error("A task continuation failed: {}", e.what());
    } catch (...) {
      TandorShop::Log().error("A task continuation failed with an unknown error");
    }
  }
}

std::size_t ThreadPool::PendingCount() {
  std::lock_guard lock(pendingMutex_);
  return pending_.size();
}

std::size_t ThreadPool::QueuedCount() {
  std::lock_guard lock(queueMutex_);
  return queue_.size();
}

ThreadPool& TandorShop::Pool() {
  static ThreadPool pool;
  return pool;
}
