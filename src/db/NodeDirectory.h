#pragma once
// What this process learned about the database nodes of the host list, shared
// by every thread: which are plain servers (no status check on later
// connections) and which refused or were not ready a moment ago (tried after
// the others until kRecheckAfter has passed).
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace DBHelper {

enum class NodeKind { Unknown, Plain, Galera };

class NodeDirectory {
 public:
  using Clock = std::chrono::steady_clock;
  // A node that failed is tried again first after this long: a restarted node
  // gets its connections back within it, and a dead one costs one failed
  // connection attempt per period instead of one per operation.
  static constexpr auto kRecheckAfter = std::chrono::seconds(5);

  // The nodes of one settings generation; a reload that changes the server
  // forgets what was learned.
  NodeKind Kind(const std::string& node, uint64_t generation);
  void NoteKind(const std::string& node, uint64_t generation, NodeKind kind);
  // The node failed within kRecheckAfter before now.
  bool Avoided(const std::string& node, uint64_t generation, Clock::time_point now);
  // True when the node was usable before (the first failure of a run, worth a log line).
  bool NoteFailed(const std::string& node, uint64_t generation, Clock::time_point now);
  // True when the node had failed before (it is back, worth a log line).
  bool NoteUsable(const std::string& node, uint64_t generation);

 private:
  struct Entry {
    NodeKind kind = NodeKind::Unknown;
    bool failed = false;
    Clock::time_point failedAt{};
  };
  Entry& At(const std::string& node, uint64_t generation);

  std::mutex mutex_;
  uint64_t generation_ = 0;
  std::map<std::string, Entry> nodes_;
};

// The process's directory.
NodeDirectory& Nodes();

}  // namespace DBHelper
