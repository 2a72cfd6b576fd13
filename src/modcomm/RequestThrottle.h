#pragma once
// One request of a kind per player every 501 milliseconds.
#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace ModComm {

class RequestThrottle {
 public:
  static constexpr int64_t MinimumGapMillis = 501;
  // True (and remembered) when the player's last accepted request of this kind is far enough back.
  bool Accept(uint64_t playerId, int64_t nowMillis);
  void Clear();
  // Players whose last accepted request may still hold the next one back: an
  // entry older than the gap is forgotten at the next sweep, so the throttle
  // follows the players who are sending, not every player ever seen.
  std::size_t EntryCount() const { return lastAccepted_.size(); }
  // The table's buckets and nodes (allocator overhead not counted).
  std::size_t Bytes() const;

 private:
  void ForgetOldEntries(int64_t nowMillis);

  std::unordered_map<uint64_t, int64_t> lastAccepted_;
  int64_t lastSweep_ = 0;
};

}  // namespace ModComm
