#include "modcomm/RequestThrottle.h"

namespace ModComm {

bool RequestThrottle::Accept(uint64_t playerId, int64_t nowMillis) {
  for (Entry& entry : entries_) {
    if (entry.PlayerId != playerId) continue;
    if (nowMillis - entry.LastAccepted < MinimumGapMillis) return false;
    entry.LastAccepted = nowMillis;
    return true;
  }
  entries_.push_back({playerId, nowMillis});
  return true;
}

}  // namespace ModComm
