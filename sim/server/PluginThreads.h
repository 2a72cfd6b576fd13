#pragma once
// The threads the plugin started (its database workers), and whether they all
// wait for work. A thread counts as the plugin's when it appeared while the game
// thread was inside the plugin (loading it, beginning play); it waits for work
// while it sleeps on a futex (a condition variable). Read from /proc, as a
// scheduler sees the threads: a thread running, ready to run, or waiting for
// the database is busy.
#include <sys/types.h>

#include <set>

namespace sim {

class PluginThreads {
 public:
  // The process's threads now.
  static std::set<pid_t> Current();
  // Watches the threads that are not in before.
  void WatchNew(const std::set<pid_t>& before);
  // Every watched thread that still exists waits for work.
  bool AllWaiting();
  // Stops watching the threads that do not wait for work now (one stuck for
  // good, say on a database that is down, is waited for once, not every second).
  void ForgetBusy();
  void Forget() { watched_.clear(); }

 private:
  std::set<pid_t> watched_;
};

}  // namespace sim
