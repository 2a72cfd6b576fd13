#include "sim/scenario/ScenarioParser.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>

#include "AsaApi/Game/TandorShopMod.h"
#include "sim/companions/ClientMod.h"

namespace sim::scenario {
namespace {

// A refusal of the line being parsed.
struct Refused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::string Lower(std::string_view text) {
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

Join ParseJoin(Words& words) {
  Join join;
  join.EosId = words.Required("EOS id");
  join.Name = words.Required("character name");
  while (auto option = words.Next()) {
    if (*option == "admin") join.Admin = true;
    else if (option->rfind("tribe=", 0) == 0 && option->size() > 6) join.Tribe = option->substr(6);
    else if (option->rfind("level=", 0) == 0) {
      const auto level = ParseInt<int32_t>(std::string_view(*option).substr(6));
      if (!level || *level < 1 || *level > 10000) throw Refused("bad level \"" + *option + "\"");
      join.Level = *level;
    } else {
      throw Refused("unknown option \"" + *option + "\" (tribe=NAME, level=N, admin)");
    }
  }
  return join;
}

ModRequest ParseMod(Words& words) {
  ModRequest request;
  request.EosId = words.Required("EOS id");
  request.Message = words.Required("message name");
  const char* known[] = {TandorShopMod::MsgOpenShop,   TandorShopMod::MsgCategory,    TandorShopMod::MsgBuy,
                         TandorShopMod::MsgSellList,   TandorShopMod::MsgSell,        TandorShopMod::MsgRedeemList,
                         TandorShopMod::MsgRedeem,     TandorShopMod::MsgTradeTargets, TandorShopMod::MsgTrade,
                         TandorShopMod::MsgShopLog,    TandorShopMod::MsgTradeLog};
  if (std::none_of(std::begin(known), std::end(known), [&](const char* name) { return request.Message == name; }))
    throw Refused("unknown mod message \"" + request.Message + "\"");
  int ints = 0;
  bool text = false;
  words.ForgetQuotes();
  while (auto word = words.Next()) {
    if (text) throw Refused("unexpected \"" + *word + "\" after the text");
    const auto number = words.LastQuoted() ? std::nullopt : ParseInt<int32_t>(*word);
    if (number && ints < 2) {
      (ints++ == 0 ? request.Int1 : request.Int2) = *number;
    } else {
      request.Text = *word;
      text = true;
    }
    words.ForgetQuotes();
  }
  return request;
}

ExpectEvent ParseExpectEvent(Words& words) {
  ExpectEvent expect;
  expect.EosId = words.Required("EOS id");
  expect.Event = words.Required("event name");
  if (std::none_of(std::begin(BuffEventNames), std::end(BuffEventNames),
                   [&](const char* name) { return expect.Event == name; }))
    throw Refused("unknown event \"" + expect.Event + "\"");
  if (words.AtEnd()) return expect;
  const std::string json = words.Rest("JSON");
  try {
    expect.Contains = nlohmann::json::parse(json);
  } catch (const nlohmann::json::exception&) {
    throw Refused("bad JSON " + json);
  }
  return expect;
}

Action ParseExpect(Words& words) {
  const std::string what = words.Required("what to expect");
  constexpr int64_t kMaxCount = 1'000'000'000;
  if (what == "points") {
    ExpectPoints expect{words.Required("EOS id")};
    expect.Points = RequiredInt<int64_t>(words, "points", INT64_MIN, INT64_MAX);
    words.NoMore();
    return expect;
  }
  if (what == "inventory") {
    ExpectInventory expect{words.Required("EOS id"), words.Required("item class")};
    expect.Count = RequiredInt<int64_t>(words, "count", 0, kMaxCount);
    words.NoMore();
    return expect;
  }
  if (what == "cryopods") {
    ExpectCryopods expect{words.Required("EOS id")};
    expect.Count = RequiredInt<int64_t>(words, "count", 0, kMaxCount);
    words.NoMore();
    return expect;
  }
  if (what == "reply") return ExpectReply{words.Rest("text")};
  if (what == "log") return ExpectLog{words.Rest("text")};
  if (what == "event") return ParseExpectEvent(words);
  if (what == "message") {
    ExpectMessage expect;
    expect.EosId = words.Required("EOS id");
    expect.Text = words.Rest("text");
    return expect;
  }
  if (what == "discord") {
    ExpectDiscord expect{Lower(words.Required("kind"))};
    if (expect.Kind != "buy" && expect.Kind != "sell" && expect.Kind != "redeem" && expect.Kind != "trade")
      throw Refused("unknown Discord kind \"" + expect.Kind + "\" (buy, sell, redeem, trade)");
    expect.Count = RequiredInt<int64_t>(words, "count", 0, kMaxCount);
    words.NoMore();
    return expect;
  }
  throw Refused("unknown expectation \"" + what + "\"");
}

Action ParseCommand(const std::string& verb, Words& words) {
  using Parser = std::function<Action(Words&)>;
  static const std::map<std::string, Parser> parsers = {
      {"join", [](Words& w) -> Action { return ParseJoin(w); }},
      {"leave", [](Words& w) -> Action {
         Leave leave{w.Required("EOS id")};
         w.NoMore();
         return leave;
       }},
      {"group", [](Words& w) -> Action {
         SetGroups groups{w.Required("EOS id"), {w.Required("group")}};
         while (auto group = w.Next()) groups.Groups.push_back(*group);
         return groups;
       }},
      {"give", [](Words& w) -> Action {
         Give give{w.Required("EOS id"), w.Required("item class")};
         give.Count = RequiredInt<int32_t>(w, "count", 1, 1'000'000);
         w.NoMore();
         return give;
       }},
      {"advance", [](Words& w) -> Action {
         const std::string text = w.Required("duration");
         const auto seconds = ParseDuration(text);
         if (!seconds) throw Refused("bad duration \"" + text + "\" (like 90s, 45m, 2h, 1d)");
         w.NoMore();
         return Advance{*seconds};
       }},
      {"mod", [](Words& w) -> Action { return ParseMod(w); }},
      {"rcon", [](Words& w) -> Action { return Rcon{w.Rest("command")}; }},
      {"console", [](Words& w) -> Action {
         Console console;
         console.EosId = w.Required("EOS id");
         console.Command = w.Rest("command");
         return console;
       }},
      {"chat", [](Words& w) -> Action {
         Chat chat;
         chat.EosId = w.Required("EOS id");
         chat.Text = w.Rest("text");
         return chat;
       }},
      {"restart", [](Words& w) -> Action {
         w.NoMore();
         return Restart{};
       }},
      {"expect", [](Words& w) -> Action { return ParseExpect(w); }},
  };
  const auto parser = parsers.find(verb);
  if (parser == parsers.end()) throw Refused("unknown command \"" + verb + "\"");
  return parser->second(words);
}

}  // namespace

std::optional<int64_t> ParseDuration(std::string_view text) {
  if (text.size() < 2) return std::nullopt;
  const auto amount = ParseInt<int64_t>(text.substr(0, text.size() - 1));
  constexpr int64_t kMaxSeconds = 366LL * 86400;
  int64_t unit = 0;
  switch (text.back()) {
    case 's': unit = 1; break;
    case 'm': unit = 60; break;
    case 'h': unit = 3600; break;
    case 'd': unit = 86400; break;
    default: return std::nullopt;
  }
  if (!amount || *amount < 1 || *amount > kMaxSeconds / unit) return std::nullopt;
  return *amount * unit;
}

LineResult ParseLine(std::string_view line, int number) {
  const std::string_view source = Trim(line);
  if (source.empty()) return std::monostate{};
  if (source.front() == '#') return Step{number, std::string(source), Comment{std::string(Trim(source.substr(1)))}};
  try {
    Words words(source);
    const std::string verb = *words.Next();
    return Step{number, std::string(source), ParseCommand(verb, words)};
  } catch (const Refused& refused) {
    return ParseError{number, std::string(source), refused.what()};
  }
}

ParsedScenario ParseScenario(std::string_view text) {
  ParsedScenario parsed;
  int number = 0;
  for (std::size_t start = 0;;) {
    const auto end = text.find('\n', start);
    LineResult result = ParseLine(text.substr(start, end == std::string_view::npos ? end : end - start), ++number);
    if (auto* step = std::get_if<Step>(&result)) parsed.Steps.push_back(std::move(*step));
    if (auto* error = std::get_if<ParseError>(&result)) parsed.Errors.push_back(std::move(*error));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parsed;
}

const char* LanguageReference() {
  return R"(join EOS NAME [tribe=TRIBE] [level=N] [admin]   a player joins (quotes keep blanks: "Ann Lee")
leave EOS                                       the player leaves
group EOS GROUP...                              sets the player's permission groups
give EOS CLASS COUNT                            puts items into the inventory (asset path or class name)
advance 90s|45m|2h|1d                           runs the game loop while the clock moves
mod EOS MESSAGE [INT1] [INT2] ["TEXT"]          the client mod sends a request (TSMod_OpenShop ...)
rcon COMMAND...                                 over the server's RCON port
console EOS COMMAND...                          typed in the player's console
chat EOS TEXT                                   said in chat
restart                                         unload, stop and start again on the same database
expect points EOS N | inventory EOS CLASS N | cryopods EOS N
expect reply TEXT | log TEXT | message EOS TEXT     (TEXT is contained in the last reply / a log line / a chat line)
expect event EOS EVENT [JSON]                   the mod received EVENT, its content containing JSON
expect discord buy|sell|redeem|trade COUNT      webhook bodies of that kind received
# a comment                                     shown in the transcript)";
}

}  // namespace sim::scenario
