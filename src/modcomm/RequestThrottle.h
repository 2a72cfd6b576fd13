#pragma once
// One request of a kind per player every 501 milliseconds.
#include <cstdint>
#include <vector>

namespace ModComm {

class RequestThrottle {
 public:
  static constexpr int64_t MinimumGapMillis = 501;
  // True (and remembered) when the player's last accepted request of this kind is far enough back.
  bool Accept(uint64_t playerId, int64_t nowMillis);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    uint64_t PlayerId;
    int64_t LastAccepted;
  };
  std::vector<Entry> entries_;
};

}  // namespace ModComm
