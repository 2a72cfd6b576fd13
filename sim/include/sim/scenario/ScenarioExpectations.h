#pragma once
// The checks behind a scenario's "expect" lines. Each answers nothing when it
// holds and the reason when it does not.
#include <cstddef>
#include <cstdint>
#include <map>
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

// How much of each record the server had at the last "mark" (nothing: the
// start, or a restart): counts and "no" expectations look only after it.
struct RecordMarks {
  std::map<std::string, std::size_t> Events;    // by lower-case EOS id
  std::map<std::string, std::size_t> Messages;  // by lower-case EOS id
  std::size_t Commands = 0, Discord = 0, Global = 0, Log = 0;
};

// What the checks read: the running server, the last reply of a command, the marks.
struct ExpectContext {
  ServerLauncher& Launcher;
  const std::string& LastReply;
  const RecordMarks& Since;
};

// The marks at this moment, for these players.
RecordMarks MarkNow(ServerLauncher& launcher, const std::map<std::string, uint64_t>& players);

// How an expectation is judged: waited for (Some), waited for and then
// confirmed after the server settled (Exactly), or confirmed after it settled (None).
Quantity QuantityOf(const ExpectPoints&);
Quantity QuantityOf(const ExpectNoPlayer&);
Quantity QuantityOf(const ExpectInventory&);
Quantity QuantityOf(const ExpectCryopods&);
Quantity QuantityOf(const ExpectReply& expect);
Quantity QuantityOf(const ExpectLog& expect);
Quantity QuantityOf(const ExpectEvent& expect);
Quantity QuantityOf(const ExpectMessage& expect);
Quantity QuantityOf(const ExpectCommand& expect);
Quantity QuantityOf(const ExpectDiscord& expect);
Quantity QuantityOf(const ExpectGlobal&);

Failure Check(const ExpectContext& context, const ExpectPoints& expect);
Failure Check(const ExpectContext& context, const ExpectInventory& expect);
Failure Check(const ExpectContext& context, const ExpectCryopods& expect);
Failure Check(const ExpectContext& context, const ExpectReply& expect);
Failure Check(const ExpectContext& context, const ExpectLog& expect);
Failure Check(const ExpectContext& context, const ExpectEvent& expect);
Failure Check(const ExpectContext& context, const ExpectMessage& expect);
Failure Check(const ExpectContext& context, const ExpectDiscord& expect);
Failure Check(const ExpectContext& context, const ExpectNoPlayer& expect);
Failure Check(const ExpectContext& context, const ExpectCommand& expect);
Failure Check(const ExpectContext& context, const ExpectGlobal& expect);

}  // namespace sim::scenario
