#include "sim/scenario/ScenarioParser.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>

#include "AsaApi/Game/TandorShopMod.h"
#include "sim/companions/ClientMod.h"
#include "ScenarioWords.h"

namespace sim::scenario {
namespace {

using namespace parsing;

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

std::string OnlyEosId(Words& words) {
  std::string eosId = words.Required("EOS id");
  words.NoMore();
  return eosId;
}

Give ParseGive(Words& words) {
  Give give;
  give.EosId = words.Required("EOS id");
  give.ItemClass = words.Required("item class");
  give.Count = RequiredInt<int32_t>(words, "count", 1, 1'000'000);
  while (auto option = words.Next()) {
    if (*option == "blueprint") {
      give.Blueprint = true;
    } else if (option->rfind("quality=", 0) == 0) {
      const auto quality = ParseInt<int32_t>(std::string_view(*option).substr(8));
      if (!quality || *quality < 0 || *quality > 1000) throw Refused("bad quality \"" + *option + "\"");
      give.Quality = static_cast<float>(*quality);
    } else {
      throw Refused("unknown option \"" + *option + "\" (blueprint, quality=N)");
    }
  }
  if ((give.Blueprint || give.Quality) && give.Count > 1000) throw Refused("at most 1000 single items at once");
  return give;
}

// "General.GiveDinosInCryopods" or "\"Packets\".\"Starter Kit\""-style paths: members split at dots.
std::vector<std::string> ConfigPath(const std::string& text) {
  std::vector<std::string> path;
  std::size_t start = 0;
  for (std::size_t dot; (dot = text.find('.', start)) != std::string::npos; start = dot + 1)
    path.push_back(text.substr(start, dot - start));
  path.push_back(text.substr(start));
  for (const std::string& member : path)
    if (member.empty()) throw Refused("bad configuration path \"" + text + "\"");
  return path;
}

Action ParseConfig(Words& words) {
  const std::string verb = words.Required("set or patch");
  if (verb == "set") {
    ConfigSet set;
    set.Path = ConfigPath(words.Required("path"));
    const std::string value = words.Rest("value");
    set.Value = nlohmann::json::parse(value, nullptr, false);
    if (set.Value.is_discarded()) set.Value = value;  // plain text
    return set;
  }
  if (verb == "patch") {
    const auto patch = OptionalJson(words);
    if (!patch || !patch->is_object()) throw Refused("config patch takes a JSON object");
    return ConfigPatch{*patch};
  }
  throw Refused("config: set PATH VALUE or patch JSON, not \"" + verb + "\"");
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
      {"give", [](Words& w) -> Action { return ParseGive(w); }},
      {"fill", [](Words& w) -> Action { return Fill{OnlyEosId(w)}; }},
      {"kill", [](Words& w) -> Action { return Kill{OnlyEosId(w)}; }},
      {"level", [](Words& w) -> Action {
         SetLevel level{w.Required("EOS id")};
         level.Level = RequiredInt<int32_t>(w, "level", 1, 10000);
         w.NoMore();
         return level;
       }},
      {"tribe", [](Words& w) -> Action {
         SetTribe tribe{w.Required("EOS id"), w.Required("tribe name (- for none)")};
         if (tribe.Tribe == "-") tribe.Tribe.clear();
         w.NoMore();
         return tribe;
       }},
      {"mark", [](Words& w) -> Action {
         w.NoMore();
         return Mark{};
       }},
      {"config", [](Words& w) -> Action { return ParseConfig(w); }},
      {"cooldowns", [](Words& w) -> Action {
         if (w.Required("what to do with the cooldowns") != "write") throw Refused("cooldowns: only \"write LINE...\"");
         CooldownsWrite write;
         while (auto line = w.Next()) write.Lines.push_back(*line);
         return write;
       }},
      {"database", [](Words& w) -> Action {
         const std::string state = w.Required("down or up");
         if (state != "down" && state != "up") throw Refused("database: down or up, not \"" + state + "\"");
         w.NoMore();
         return Database{state == "up"};
       }},
      {"cluster", [](Words& w) -> Action {
         w.NoMore();
         return OnCluster{};
       }},
      {"node", [](Words& w) -> Action {
         const std::string change = w.Required("kill or restart");
         if (change != "kill" && change != "restart") throw Refused("node: kill or restart, not \"" + change + "\"");
         ClusterNode node;
         node.Node = RequiredInt<int32_t>(w, "node", 1, 3);
         node.Up = change == "restart";
         w.NoMore();
         return node;
       }},
      {"together", [](Words& w) -> Action {
         w.NoMore();
         return Together{};
       }},
      {"repeat", [](Words& w) -> Action {
         Repeat repeat;
         repeat.Times = RequiredInt<int32_t>(w, "times", 1, 1000);
         const std::string verb = w.Required("request");
         if (verb != "mod") throw Refused("repeat sends a mod request, not \"" + verb + "\"");
         repeat.Request = ParseMod(w);
         return repeat;
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

namespace {

bool GoesInTogether(const Action& action) {
  return std::holds_alternative<ModRequest>(action) || std::holds_alternative<Console>(action) ||
         std::holds_alternative<Chat>(action) || std::holds_alternative<Comment>(action);
}

// Gathers the steps of a file, the requests of a "together" block into one step.
class StepCollector {
 public:
  explicit StepCollector(ParsedScenario& parsed) : parsed_(parsed) {}

  void Add(std::string_view line, int number) {
    if (block_ && Trim(line) == "end") {
      parsed_.Steps.push_back(std::move(*block_));
      block_.reset();
      return;
    }
    LineResult result = ParseLine(line, number);
    if (auto* error = std::get_if<ParseError>(&result)) return parsed_.Errors.push_back(std::move(*error));
    auto* step = std::get_if<Step>(&result);
    if (step == nullptr) return;
    if (std::holds_alternative<Together>(step->What)) {
      if (block_) return Refuse(*step, "a together block is already open");
      block_ = std::move(*step);
      return;
    }
    if (!block_) return parsed_.Steps.push_back(std::move(*step));
    if (!GoesInTogether(step->What)) return Refuse(*step, "only mod, console and chat requests go in a together block");
    std::get<Together>(block_->What).Steps.push_back(std::move(*step));
  }

  void Finish() {
    if (block_) Refuse(*block_, "together is not closed by \"end\"");
    block_.reset();
  }

 private:
  void Refuse(const Step& step, std::string reason) {
    parsed_.Errors.push_back(ParseError{step.Line, step.Source, std::move(reason)});
  }
  ParsedScenario& parsed_;
  std::optional<Step> block_;
};

}  // namespace

ParsedScenario ParseScenario(std::string_view text) {
  ParsedScenario parsed;
  StepCollector collector(parsed);
  int number = 0;
  for (std::size_t start = 0;;) {
    const auto end = text.find('\n', start);
    collector.Add(text.substr(start, end == std::string_view::npos ? end : end - start), ++number);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  collector.Finish();
  std::sort(parsed.Errors.begin(), parsed.Errors.end(),
            [](const ParseError& a, const ParseError& b) { return a.Line < b.Line; });
  return parsed;
}

const char* LanguageReference() {
  return R"(join EOS NAME [tribe=TRIBE] [level=N] [admin]   a player joins (quotes keep blanks: "Ann Lee")
leave EOS                                       the player leaves
group EOS GROUP...                              sets the player's permission groups
give EOS CLASS COUNT [blueprint] [quality=N]    puts items into the inventory (asset path or class name)
fill EOS | kill EOS                             fills every free inventory slot / the character dies
level EOS N | tribe EOS NAME|-                  a new level / another tribe (- for none)
advance 90s|45m|2h|1d                           runs the game loop while the clock moves
mod EOS MESSAGE [INT1] [INT2] ["TEXT"]          the client mod sends a request (TSMod_OpenShop ...)
repeat N mod EOS MESSAGE ...                    the same request N times in one tick
together ... end                                the enclosed mod, console and chat requests in one tick
rcon COMMAND...                                 over the server's RCON port
console EOS COMMAND...                          typed in the player's console
chat EOS TEXT                                   said in chat
restart                                         unload, stop and start again on the same database
config set PATH VALUE | config patch JSON       edits the installed config.json (reload it with rcon)
cooldowns write LINE...                         writes packetCds.txt, one line per word ({now}: the clock)
database down | database up                     kills the scenario's database server / starts it again
cluster                                         the scenario runs on a Galera cluster of three nodes of its own
node kill N | node restart N                    kill -9 of node N (1-3) / starts it again, waits until synced
mark                                            counts and "no" expectations look from here on
expect points EOS N | no player EOS             the player's row in the database / no row
expect inventory EOS CLASS N | cryopods EOS N
expect [no] reply TEXT | [no] log TEXT          the last RCON or console reply / a log line contains TEXT
expect [no] message EOS [count N] [TEXT]        chat messages of the player
expect [no] event EOS EVENT [count N] [JSON]    the mod received EVENT, its content containing JSON
expect [no] command EOS [count N] [admin|plain] [TEXT]   commands the game ran for the player
expect [no] discord [KIND] [count N] [JSON]     webhook bodies (buy, sell, redeem, trade) containing JSON
expect global EVENT [JSON]                      the mod's global actor received EVENT
# a comment                                     shown in the transcript)";
}

}  // namespace sim::scenario
