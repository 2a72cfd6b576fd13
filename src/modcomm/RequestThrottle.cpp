#include "modcomm/RequestThrottle.h"

#include <iterator>

namespace ModComm {

bool RequestThrottle::Accept(uint64_t playerId, int64_t nowMillis) {
  ForgetOldEntries(nowMillis);
  const auto [entry, added] = lastAccepted_.try_emplace(playerId, nowMillis);
  if (added) return true;
  if (nowMillis - entry->second < MinimumGapMillis) return false;
  entry->second = nowMillis;
  return true;
}

// At most once per gap: every entry older than the gap can no longer hold a
// request back. The sweep costs one pass over the players of the last gap or two.
void RequestThrottle::ForgetOldEntries(int64_t nowMillis) {
  if (nowMillis - lastSweep_ < MinimumGapMillis && nowMillis >= lastSweep_) return;
  lastSweep_ = nowMillis;
  for (auto it = lastAccepted_.begin(); it != lastAccepted_.end();)
    it = nowMillis - it->second >= MinimumGapMillis ? lastAccepted_.erase(it) : std::next(it);
  // Give back buckets the players who left no longer need.
  if (lastAccepted_.bucket_count() > 64 && lastAccepted_.size() < lastAccepted_.bucket_count() / 4)
    lastAccepted_.rehash(0);
}

void RequestThrottle::Clear() {
  lastAccepted_.clear();
  lastAccepted_.rehash(0);
  lastSweep_ = 0;
}

std::size_t RequestThrottle::Bytes() const {
  // A node holds the pair and the next pointer; a bucket is one pointer.
  struct Node {
    void* Next;
    std::pair<const uint64_t, int64_t> Value;
  };
  return lastAccepted_.bucket_count() * sizeof(void*) + lastAccepted_.size() * sizeof(Node);
}

}  // namespace ModComm
