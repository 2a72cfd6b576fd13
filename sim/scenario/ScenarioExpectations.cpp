#include "sim/scenario/ScenarioExpectations.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "AsaApi/FString.h"
#include "sim/companions/ClientMod.h"
#include "sim/world/GameModel.h"
#include "sim/scenario/ScenarioHappenings.h"
#include "sim/scenario/ScratchTables.h"
#include "sim/scenario/ServerLauncher.h"
#include "sim/world/ConsoleCommands.h"
#include "sim/companions/WebServices.h"

namespace sim::scenario {
namespace {

using nlohmann::json;

bool NumbersMatch(const json& actual, const json& expected) {
  if (actual.is_number_float() || expected.is_number_float()) {
    const double a = actual.get<double>(), e = expected.get<double>();
    return std::fabs(a - e) <= 1e-6 * std::max(1.0, std::fabs(e));
  }
  return actual == expected;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::size_t MarkOf(const std::map<std::string, std::size_t>& marks, const std::string& eosId) {
  const auto found = marks.find(Lower(eosId));
  return found == marks.end() ? 0 : found->second;
}

// Judges how many matching records arrived since the mark.
Failure Judge(const Quantity& wanted, int64_t matches, const std::string& what, const std::string& detail = "") {
  const std::string tail = detail.empty() ? "" : "; " + detail;
  switch (wanted.Is) {
    case Quantity::Some:
      if (matches > 0) return std::nullopt;
      return "no " + what + tail;
    case Quantity::Exactly:
      if (matches == wanted.Count) return std::nullopt;
      return std::to_string(matches) + " " + what + " (wanted " + std::to_string(wanted.Count) + ")" + tail;
    case Quantity::None:
      if (matches == 0) return std::nullopt;
      return std::to_string(matches) + " " + what + tail;
  }
  return std::nullopt;
}

SimPlayer* Online(ServerLauncher& launcher, const std::string& eosId) { return launcher.Current().FindPlayer(eosId); }

Failure CountItems(ServerLauncher& launcher, const std::string& eosId, const std::string& classPath, int64_t expected) {
  SimPlayer* player = Online(launcher, eosId);
  if (player == nullptr) return eosId + " is not online";
  SimClass* cls = ClassRegistry::Get().Find(classPath);
  if (cls == nullptr) cls = ClassRegistry::Get().FindByName(classPath);
  if (cls == nullptr) return "no item class " + classPath;
  const int32_t count = launcher.Current().Model().Items.CountOf(player->Character->Inventory, cls);
  if (count == expected) return std::nullopt;
  return eosId + " holds " + std::to_string(count);
}

}  // namespace

bool JsonContains(const json& actual, const json& expected) {
  if (expected.is_object()) {
    if (!actual.is_object()) return false;
    for (const auto& [key, value] : expected.items())
      if (!actual.contains(key) || !JsonContains(actual[key], value)) return false;
    return true;
  }
  if (expected.is_array()) {
    if (!actual.is_array()) return false;
    for (const json& wanted : expected)
      if (std::none_of(actual.begin(), actual.end(), [&](const json& have) { return JsonContains(have, wanted); }))
        return false;
    return true;
  }
  if (expected.is_number() && actual.is_number()) return NumbersMatch(actual, expected);
  return actual == expected;
}

RecordMarks MarkNow(ServerLauncher& launcher, const std::map<std::string, uint64_t>& players) {
  Server& server = launcher.Current();
  RecordMarks marks;
  for (const auto& [eosId, linked] : players) {
    marks.Events[Lower(eosId)] = server.Mod().EventCount(eosId);
    marks.Messages[Lower(eosId)] = server.MessagesOf(eosId).size();
  }
  marks.Commands = server.Model().Console.Issued().size();
  marks.Discord = server.Discord().Received().size();
  marks.Global = server.Mod().GlobalEvents().size();
  marks.Log = server.LogLines().size();
  return marks;
}

Quantity QuantityOf(const ExpectPoints&) { return {}; }
Quantity QuantityOf(const ExpectNoPlayer&) { return {Quantity::None, 0}; }
Quantity QuantityOf(const ExpectInventory&) { return {}; }
Quantity QuantityOf(const ExpectCryopods&) { return {}; }
Quantity QuantityOf(const ExpectReply& expect) { return expect.Negated ? Quantity{Quantity::None, 0} : Quantity{}; }
Quantity QuantityOf(const ExpectLog& expect) { return expect.Negated ? Quantity{Quantity::None, 0} : Quantity{}; }
Quantity QuantityOf(const ExpectEvent& expect) { return expect.Amount; }
Quantity QuantityOf(const ExpectMessage& expect) { return expect.Amount; }
Quantity QuantityOf(const ExpectCommand& expect) { return expect.Amount; }
Quantity QuantityOf(const ExpectDiscord& expect) { return expect.Amount; }
Quantity QuantityOf(const ExpectGlobal&) { return {}; }

Failure Check(const ExpectContext& context, const ExpectPoints& expect) {
  const auto points = StoredPoints(context.Launcher.TablePrefix(), expect.EosId);
  if (!points) return "no row for " + expect.EosId + " in the database";
  if (*points == expect.Points) return std::nullopt;
  return expect.EosId + " has " + std::to_string(*points) + " points";
}

Failure Check(const ExpectContext& context, const ExpectNoPlayer& expect) {
  const auto points = StoredPoints(context.Launcher.TablePrefix(), expect.EosId);
  if (!points) return std::nullopt;
  return expect.EosId + " has a row with " + std::to_string(*points) + " points";
}

Failure Check(const ExpectContext& context, const ExpectInventory& expect) {
  return CountItems(context.Launcher, expect.EosId, expect.ItemClass, expect.Count);
}

Failure Check(const ExpectContext& context, const ExpectCryopods& expect) {
  return CountItems(context.Launcher, expect.EosId, context.Launcher.CryopodPath(), expect.Count);
}

Failure Check(const ExpectContext& context, const ExpectReply& expect) {
  const bool contains = expect.Negated && expect.Text.empty() ? !context.LastReply.empty()
                                                               : Contains(context.LastReply, expect.Text);
  if (contains != expect.Negated) return std::nullopt;
  return "the last reply was \"" + context.LastReply + "\"";
}

Failure Check(const ExpectContext& context, const ExpectLog& expect) {
  const auto lines = context.Launcher.Current().LogLines();
  int64_t matches = 0;
  std::string first;
  for (std::size_t i = expect.Negated ? context.Since.Log : 0; i < lines.size(); ++i)
    if (Contains(lines[i], expect.Text) && matches++ == 0) first = lines[i];
  return Judge(QuantityOf(expect), matches, "log lines containing it", first);
}

Failure Check(const ExpectContext& context, const ExpectEvent& expect) {
  const auto events = context.Launcher.Current().Mod().EventsOf(expect.EosId);
  int64_t matches = 0, named = 0;
  std::string last;
  for (std::size_t i = MarkOf(context.Since.Events, expect.EosId); i < events.size(); ++i) {
    if (events[i]["event"] != expect.Event) continue;
    ++named;
    last = SummarizeEvent(expect.Event, events[i]["data"]);
    if (!expect.Contains || JsonContains(events[i]["data"], *expect.Contains)) ++matches;
  }
  const std::string what = expect.Event + (expect.Contains ? " containing it" : "") + " for " + expect.EosId;
  return Judge(expect.Amount, matches, what, named > 0 ? std::to_string(named) + " " + expect.Event + ", the last: " + last : "");
}

Failure Check(const ExpectContext& context, const ExpectMessage& expect) {
  const auto& messages = context.Launcher.Current().MessagesOf(expect.EosId);
  int64_t matches = 0;
  std::string last;
  for (std::size_t i = MarkOf(context.Since.Messages, expect.EosId); i < messages.size(); ++i) {
    last = messages[i].Text;
    if (Contains(messages[i].Text, expect.Text)) ++matches;
  }
  return Judge(expect.Amount, matches, std::string("chat messages") + (expect.Text.empty() ? "" : " with it") + " for " + expect.EosId,
               last.empty() ? "" : "the last: " + last);
}

Failure Check(const ExpectContext& context, const ExpectCommand& expect) {
  const auto& issued = context.Launcher.Current().Model().Console.Issued();
  int64_t matches = 0;
  std::string last;
  for (std::size_t i = context.Since.Commands; i < issued.size(); ++i) {
    if (Lower(issued[i].EosId) != Lower(expect.EosId)) continue;
    last = "\"" + issued[i].Text + "\"" + (issued[i].AdminAtCall ? " (admin)" : "");
    if (!Contains(issued[i].Text, expect.Text)) continue;
    if (expect.Admin && *expect.Admin != issued[i].AdminAtCall) continue;
    ++matches;
  }
  const std::string flag = expect.Admin ? (*expect.Admin ? " run as admin" : " run without admin") : "";
  return Judge(expect.Amount, matches, std::string("commands") + (expect.Text.empty() ? "" : " with it") + flag + " for " + expect.EosId,
               last.empty() ? "" : "the last: " + last);
}

Failure Check(const ExpectContext& context, const ExpectDiscord& expect) {
  const auto received = context.Launcher.Current().Discord().Received();
  int64_t matches = 0;
  std::string last;
  for (std::size_t i = context.Since.Discord; i < received.size(); ++i) {
    if (!expect.Kind.empty() && DiscordKind(received[i].Body) != expect.Kind) continue;
    last = received[i].Body;
    if (expect.Contains && !JsonContains(json::parse(received[i].Body, nullptr, false), *expect.Contains)) continue;
    ++matches;
  }
  const std::string kind = expect.Kind.empty() ? "" : expect.Kind + " ";
  return Judge(expect.Amount, matches, kind + "bodies" + (expect.Contains ? " containing it" : ""),
               last.empty() ? "" : "the last: " + last.substr(0, 300));
}

Failure Check(const ExpectContext& context, const ExpectGlobal& expect) {
  const auto events = context.Launcher.Current().Mod().GlobalEvents();
  int64_t matches = 0;
  std::string last;
  for (std::size_t i = context.Since.Global; i < events.size(); ++i) {
    if (events[i]["event"] != expect.Event) continue;
    last = events[i]["data"].dump().substr(0, 300);
    if (!expect.Contains || JsonContains(events[i]["data"], *expect.Contains)) ++matches;
  }
  return Judge({}, matches, expect.Event + (expect.Contains ? " containing it" : "") + " at the global actor",
               last.empty() ? "" : "the last: " + last);
}

}  // namespace sim::scenario
