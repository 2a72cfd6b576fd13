#pragma once
// The faulty link lives with the simulator, so that the storm can put it between
// its game servers and the database too; the tests name it here as before.
#include "sim/faultylink/FaultyLink.h"

namespace testsupport {
using sim::faultylink::FaultyLink;
}  // namespace testsupport
