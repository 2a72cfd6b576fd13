#pragma once
// Worker threads may keep one database connection between operations (the
// "KeepConnections" setting). The connection belongs to the thread: it is never
// shared, and it closes when the thread ends.
#include <cstdint>
#include <memory>

#include "db/DBSettings.h"
#include "db/MysqlConnection.h"

namespace DBHelper {

// While one lives on a thread, operations on that thread reuse a kept connection
// when the settings ask for it. The worker pool puts one on each worker.
class WorkerConnectionScope {
 public:
  WorkerConnectionScope();
  ~WorkerConnectionScope();
  WorkerConnectionScope(const WorkerConnectionScope&) = delete;
  WorkerConnectionScope& operator=(const WorkerConnectionScope&) = delete;
};

// A WorkerConnectionScope lives on the calling thread: it is one of the pool's
// workers (any other thread may be the game thread).
bool OnWorkerThread();

// A WorkerConnectionScope for a worker of the pool to hold while it runs
// (ThreadPool::StartWorkers(&DBHelper::MakeWorkerConnectionScope)).
std::shared_ptr<void> MakeWorkerConnectionScope();

// The calling thread's kept connection, ready for an operation with these
// settings: reopened when the settings changed, checked with a ping when it failed
// before, sat idle for minutes or the server closed it. Null when this thread
// keeps no connection (not a worker, or the setting is off).
std::shared_ptr<mysql::connection> TakeKeptConnection(const DBSettings& settings);
// The operation on the kept connection is over.
void ReturnKeptConnection();

// How often this thread opened a kept connection (for tests and benchmarks).
uint64_t KeptConnectionOpens();

}  // namespace DBHelper
