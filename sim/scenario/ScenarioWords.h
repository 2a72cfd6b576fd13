#pragma once
// The pieces the scenario parser reads lines with: the words of a line (quotes
// keep blanks), numbers, and the refusal that names what is wrong with a line.
#include <algorithm>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "sim/scenario/ScenarioSteps.h"

namespace sim::scenario::parsing {

// A refusal of the line being parsed.
struct Refused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

inline std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

template <typename Int>
std::optional<Int> ParseInt(std::string_view text) {
  Int value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Reads the words of a line. A word may hold blanks inside double quotes, where
// \" and \\ stand for themselves.
class Words {
 public:
  explicit Words(std::string_view line) : line_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ >= line_.size();
  }

  std::optional<std::string> Next() {
    if (AtEnd()) return std::nullopt;
    std::string word;
    bool quoted = false;
    for (; at_ < line_.size(); ++at_) {
      const char c = line_[at_];
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (c == '"') {
        quoted = !quoted;
        lastQuoted_ = true;
      } else if (quoted && c == '\\' && at_ + 1 < line_.size() && (line_[at_ + 1] == '"' || line_[at_ + 1] == '\\')) {
        word += line_[++at_];
      } else {
        word += c;
      }
    }
    if (quoted) throw Refused("a quote is not closed");
    return word;
  }

  // The next word, left to be read.
  std::optional<std::string> Peek() {
    const std::size_t at = at_;
    const bool quoted = lastQuoted_;
    auto word = Next();
    at_ = at;
    lastQuoted_ = quoted;
    return word;
  }

  // Whether the word last read had quotes in it.
  bool LastQuoted() const { return lastQuoted_; }
  void ForgetQuotes() { lastQuoted_ = false; }

  std::string Required(const char* what) {
    ForgetQuotes();
    auto word = Next();
    if (!word) throw Refused(std::string("missing ") + what);
    return *word;
  }

  // The rest of the line as written; quotes around all of it are dropped.
  std::string Rest(const char* what) {
    SkipBlanks();
    std::string_view rest = Trim(line_.substr(std::min(at_, line_.size())));
    at_ = line_.size();
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
    if (rest.empty()) throw Refused(std::string("missing ") + what);
    return std::string(rest);
  }

  void NoMore() {
    if (!AtEnd()) throw Refused("unexpected \"" + *Next() + "\"");
  }

 private:
  void SkipBlanks() {
    while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t')) ++at_;
  }
  std::string_view line_;
  std::size_t at_ = 0;
  bool lastQuoted_ = false;
};

template <typename Int>
Int RequiredInt(Words& words, const char* what, Int min, Int max) {
  const std::string word = words.Required(what);
  const auto value = ParseInt<Int>(word);
  if (!value || *value < min || *value > max) throw Refused("bad " + std::string(what) + " \"" + word + "\"");
  return *value;
}

// The rest of the line as JSON, or nothing at the end of the line.
std::optional<nlohmann::json> OptionalJson(Words& words);

// "expect ..." after its first word.
Action ParseExpect(Words& words);

}  // namespace sim::scenario::parsing
