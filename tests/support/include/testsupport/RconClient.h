#pragma once
// The simulator's Source RCON client, under the name the tests know.
#include "sim/RconClient.h"

namespace testsupport {
using sim::RconClient;
}  // namespace testsupport
