#pragma once
// Wall-clock milliseconds, the one time both the servers and the orchestrator
// read the same way (the servers' game clocks run ahead).
#include <chrono>
#include <cstdint>

namespace storm {

inline int64_t WallMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace storm
