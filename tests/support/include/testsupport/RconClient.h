#pragma once
// The tests use the project's RCON client (tools/rcon-client).
#include "rcon/RconClient.h"

namespace testsupport {
using rcon::RconClient;
}  // namespace testsupport
