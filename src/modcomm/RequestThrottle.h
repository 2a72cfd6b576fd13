#pragma once
// One request of a kind per player every 501 milliseconds.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ModComm {

class RequestThrottle {
 public:
  static constexpr int64_t MinimumGapMillis = 501;
  // True (and remembered) when the player's last accepted request of this kind is far enough back.
  bool Accept(uint64_t playerId, int64_t nowMillis);
  void Clear() { entries_.clear(); }
  // One entry per player ever accepted; the bytes are the list's capacity.
  std::size_t EntryCount() const { return entries_.size(); }
  std::size_t Bytes() const { return entries_.capacity() * sizeof(Entry); }

 private:
  struct Entry {
    uint64_t PlayerId;
    int64_t LastAccepted;
  };
  std::vector<Entry> entries_;
};

}  // namespace ModComm
