#pragma once
// The plan of a storm's faults: which kill comes at what share of its simulated time.
#include <vector>

#include "StormOptions.h"

namespace storm {

// What happens to the storm when it reached a share of its simulated time.
struct Fault {
  double At = 0;
  int DatabaseKill = 0;  // the number of a database kill, or 0
  int ServerId = 0;      // the game server killed with kill -9 instead
  int ExtraMillis = 0;   // the kill waits this long after the share was reached, so it lands anywhere in a tick
  bool WhileOwing = false;  // the kill waits (a while) until the server has a charge or a redeem unsettled
};

// The database kills at even shares of the run; the server kills at random ones.
std::vector<Fault> PlanFaults(const Options& o);

}  // namespace storm
