#pragma once
// The scenario language: one command per line, "#" starts a comment line.
// Parsing is pure: text in, typed steps or the reasons a line is refused out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sim/scenario/ScenarioSteps.h"

namespace sim::scenario {

struct ParseError {
  int Line = 0;
  std::string Source;
  std::string Reason;
};

struct ParsedScenario {
  std::vector<Step> Steps;
  std::vector<ParseError> Errors;  // every refused line, in file order
  bool Valid() const { return Errors.empty(); }
};

// A whole file. Blank lines are skipped; comment lines become Comment steps.
ParsedScenario ParseScenario(std::string_view text);

// One line: nothing for a blank line, else a step or the reason it is refused.
using LineResult = std::variant<std::monostate, Step, ParseError>;
LineResult ParseLine(std::string_view line, int number);

// "90s", "45m", "2h", "1d": seconds, or nothing when the text is no duration.
std::optional<int64_t> ParseDuration(std::string_view text);

// The language in a few lines, for the interactive prompt and the README.
const char* LanguageReference();

}  // namespace sim::scenario
