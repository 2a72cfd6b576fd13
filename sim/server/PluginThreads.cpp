#include "PluginThreads.h"

#include <sys/syscall.h>

#include <filesystem>
#include <iterator>
#include <fstream>
#include <string>
#include <system_error>

namespace sim {
namespace {

enum class ThreadState { Gone, Waiting, Busy };

// /proc/self/task/<tid>/syscall holds the number of the system call the thread
// is blocked in, or "running" when it runs or is ready to.
ThreadState StateOf(pid_t tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/syscall");
  if (!in) return ThreadState::Gone;
  std::string first;
  if (!(in >> first)) return ThreadState::Gone;
  return first == std::to_string(SYS_futex) ? ThreadState::Waiting : ThreadState::Busy;
}

}  // namespace

std::set<pid_t> PluginThreads::Current() {
  std::set<pid_t> threads;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", error)) {
    try {
      threads.insert(static_cast<pid_t>(std::stol(entry.path().filename().string())));
    } catch (const std::exception&) {
    }
  }
  return threads;
}

void PluginThreads::WatchNew(const std::set<pid_t>& before) {
  for (pid_t tid : Current())
    if (before.count(tid) == 0) watched_.insert(tid);
}

bool PluginThreads::AllWaiting() {
  bool waiting = true;
  for (auto it = watched_.begin(); it != watched_.end();) {
    const ThreadState state = StateOf(*it);
    if (state == ThreadState::Gone) {
      it = watched_.erase(it);
      continue;
    }
    if (state == ThreadState::Busy) waiting = false;
    ++it;
  }
  return waiting;
}

void PluginThreads::ForgetBusy() {
  for (auto it = watched_.begin(); it != watched_.end();)
    it = StateOf(*it) == ThreadState::Waiting ? std::next(it) : watched_.erase(it);
}

}  // namespace sim
