#pragma once
// The faulty link's reading of the MySQL packet stream, under the tests' name.
#include "sim/faultylink/MysqlWire.h"

namespace testsupport::wire {
using sim::faultylink::wire::AnswerTracker;
using sim::faultylink::wire::IsCommitQuery;
using sim::faultylink::wire::PacketSplitter;
using sim::faultylink::wire::PacketView;
}  // namespace testsupport::wire
