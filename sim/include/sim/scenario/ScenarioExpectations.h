#pragma once
// The checks behind a scenario's "expect" lines. Each answers nothing when it
// holds and the reason when it does not.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/scenario/ScenarioSteps.h"

namespace sim {
class ServerLauncher;
}

namespace sim::scenario {

// Whether actual contains expected: objects by their members (recursively),
// arrays when every expected element is contained in some actual element,
// numbers by value (floats within a relative 1e-6), other values by equality.
bool JsonContains(const nlohmann::json& actual, const nlohmann::json& expected);

using Failure = std::optional<std::string>;

// What the checks read: the running server, and the last reply of a command.
struct ExpectContext {
  ServerLauncher& Launcher;
  const std::string& LastReply;
};

Failure Check(const ExpectContext& context, const ExpectPoints& expect);
Failure Check(const ExpectContext& context, const ExpectInventory& expect);
Failure Check(const ExpectContext& context, const ExpectCryopods& expect);
Failure Check(const ExpectContext& context, const ExpectReply& expect);
Failure Check(const ExpectContext& context, const ExpectLog& expect);
Failure Check(const ExpectContext& context, const ExpectEvent& expect);
Failure Check(const ExpectContext& context, const ExpectMessage& expect);
Failure Check(const ExpectContext& context, const ExpectDiscord& expect);

}  // namespace sim::scenario
