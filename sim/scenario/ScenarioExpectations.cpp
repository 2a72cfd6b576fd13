#include "sim/scenario/ScenarioExpectations.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>

#include "AsaApi/FString.h"
#include "sim/companions/ClientMod.h"
#include "sim/world/GameModel.h"
#include "sim/scenario/ScenarioHappenings.h"
#include "sim/scenario/ServerLauncher.h"
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

// The shop's points interface for other plugins, as another plugin calls it.
std::optional<int> PointsOf(const std::string& pluginPath, const std::string& eosId) {
  void* handle = ::dlopen(pluginPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return std::nullopt;
  using GetPoints = int (*)(const FString&);
  auto get = reinterpret_cast<GetPoints>(::dlsym(handle, "_ZN10TandorShop9GetPointsERK7FString"));
  std::optional<int> points;
  if (get != nullptr) points = get(FString::FromUtf8(eosId));
  ::dlclose(handle);
  return points;
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

Failure Check(const ExpectContext& context, const ExpectPoints& expect) {
  const auto points = PointsOf(context.Launcher.Settings().PluginPath, expect.EosId);
  if (!points) return std::string("the shop's points interface cannot be reached");
  if (*points == expect.Points) return std::nullopt;
  return expect.EosId + " has " + std::to_string(*points) + " points";
}

Failure Check(const ExpectContext& context, const ExpectInventory& expect) {
  return CountItems(context.Launcher, expect.EosId, expect.ItemClass, expect.Count);
}

Failure Check(const ExpectContext& context, const ExpectCryopods& expect) {
  return CountItems(context.Launcher, expect.EosId, context.Launcher.CryopodPath(), expect.Count);
}

Failure Check(const ExpectContext& context, const ExpectReply& expect) {
  if (Contains(context.LastReply, expect.Text)) return std::nullopt;
  return "the last reply was \"" + context.LastReply + "\"";
}

Failure Check(const ExpectContext& context, const ExpectLog& expect) {
  if (context.Launcher.Current().LogContains(expect.Text)) return std::nullopt;
  return std::string("no log line contains it");
}

Failure Check(const ExpectContext& context, const ExpectEvent& expect) {
  const auto events = context.Launcher.Current().Mod().EventsOf(expect.EosId, expect.Event);
  for (const json& data : events)
    if (!expect.Contains || JsonContains(data, *expect.Contains)) return std::nullopt;
  if (events.empty()) return expect.EosId + " received no " + expect.Event;
  return expect.EosId + " received " + std::to_string(events.size()) + " " + expect.Event +
         ", none containing it; the last: " + SummarizeEvent(expect.Event, events.back());
}

Failure Check(const ExpectContext& context, const ExpectMessage& expect) {
  for (const auto& message : context.Launcher.Current().MessagesOf(expect.EosId))
    if (Contains(message.Text, expect.Text)) return std::nullopt;
  return expect.EosId + " received no such chat message";
}

Failure Check(const ExpectContext& context, const ExpectDiscord& expect) {
  int64_t count = 0;
  for (const auto& webhook : context.Launcher.Current().Discord().Received())
    if (DiscordKind(webhook.Body) == expect.Kind) ++count;
  if (count == expect.Count) return std::nullopt;
  return std::to_string(count) + " " + expect.Kind + " bodies received";
}

}  // namespace sim::scenario
