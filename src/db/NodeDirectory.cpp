#include "db/NodeDirectory.h"

namespace DBHelper {

NodeDirectory::Entry& NodeDirectory::At(const std::string& node, uint64_t generation) {
  if (generation != generation_) {
    nodes_.clear();
    generation_ = generation;
  }
  return nodes_[node];
}

NodeKind NodeDirectory::Kind(const std::string& node, uint64_t generation) {
  std::lock_guard lock(mutex_);
  return At(node, generation).kind;
}

void NodeDirectory::NoteKind(const std::string& node, uint64_t generation, NodeKind kind) {
  std::lock_guard lock(mutex_);
  At(node, generation).kind = kind;
}

bool NodeDirectory::Avoided(const std::string& node, uint64_t generation, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const Entry& entry = At(node, generation);
  return entry.failed && now - entry.failedAt < kRecheckAfter;
}

bool NodeDirectory::NoteFailed(const std::string& node, uint64_t generation, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  Entry& entry = At(node, generation);
  const bool first = !entry.failed;
  entry.failed = true;
  entry.failedAt = now;
  // A node that comes back may come back as something else (restarted with or
  // without Galera): it is asked again.
  entry.kind = NodeKind::Unknown;
  return first;
}

bool NodeDirectory::NoteUsable(const std::string& node, uint64_t generation) {
  std::lock_guard lock(mutex_);
  Entry& entry = At(node, generation);
  const bool back = entry.failed;
  entry.failed = false;
  return back;
}

NodeDirectory& Nodes() {
  static NodeDirectory directory;
  return directory;
}

}  // namespace DBHelper
