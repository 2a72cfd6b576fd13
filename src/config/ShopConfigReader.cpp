#include "config/ShopConfigReader.h"

#include <climits>
#include <functional>
#include <stdexcept>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Game/FGenericPlatformStricmp.h"
#include "config/CatalogueJson.h"
#include "config/CatalogueReader.h"
#include "config/ConfigSchema.h"
#include "config/JsonRead.h"
#include "config/ReadReport.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;


// The documented default of a key of "General" (config/ConfigSchema.cpp).
const json& Default(const char* key) { return SchemaDefault("General", key); }
const char* DefaultText(const char* key) { return Default(key).get_ref<const std::string&>().c_str(); }

// Reads one key of "General" from `general` with `read`. A value of the wrong
// type is reported and the key is then read as if it were absent: it takes its
// documented default, never what an earlier read left.
void ReadGeneralKey(const json& general, const std::function<void(const json&)>& read) {
  static const json absent = json::object();
  if (!ReadGuarded("General", [&] { read(general); })) read(absent);
}

void ReadShopKey(const json& general, ShopConfigData& config) {
  const FString fallback = FString::FromUtf8(DefaultText("ShopKey"));
  const auto readKey = [&] {
    if (!Json::Has(general, "ShopKey")) {
      Warn("No shop key set. Set to default F2");
      config.ShopKey = fallback;
      return;
    }
    config.ShopKey = Json::ReadText(general, "ShopKey");
    if (!IsValidShopKey(config.ShopKey)) {
      Warn("Shop key invalid. Only F1 - F10 are valid. Set to default F2");
      config.ShopKey = fallback;
    }
  };
  if (!ReadGuarded("General", readKey)) config.ShopKey = fallback;
}

// Absent, every flag is off; each flag of the object is read on its own.
void ReadPreventOptions(const json& general, ShopConfigData& config) {
  const std::pair<const char*, bool ShopSettings::*> flags[] = {
      {"PreventWhileHandcuffed", &ShopSettings::PreventWhileHandcuffed},
      {"PreventWhileKnockedOut", &ShopSettings::PreventWhileKnockedOut},
      {"PreventWhileRiding", &ShopSettings::PreventWhileRiding}};
  for (const auto& [key, field] : flags) config.*field = SchemaDefault("PreventOptions", key).get<bool>();
  if (!Json::Has(general, "PreventOptions")) return;
  const json& prevent = Json::RequireObject(general.at("PreventOptions"), "PreventOptions");
  for (const auto& [key, field] : flags) {
    const bool fallback = SchemaDefault("PreventOptions", key).get<bool>();
    ReadGuarded("General", [&] { config.*field = Json::ReadBool(prevent, key, fallback); });
  }
}

// All or nothing: a wrong value leaves no half-read list.
void ReadButtonOverwrites(const json& general, ShopConfigData& config) {
  config.ButtonOverwrites.Empty();
  if (!Json::Has(general, "ButtonOverwrites")) return;
  const json& buttons = Json::RequireObject(general.at("ButtonOverwrites"), "ButtonOverwrites");
  static const std::pair<const char*, ButtonKind> kinds[] = {{"Buy", ButtonKind::Buy},
                                                             {"Sell", ButtonKind::Sell},
                                                             {"Log", ButtonKind::Log},
                                                             {"Redeem", ButtonKind::Redeem},
                                                             {"Trade", ButtonKind::Trade}};
  TArray<ConfigButtonOverwrite> read;
  for (const auto& [key, kind] : kinds) {
    if (!buttons.contains(key)) continue;
    const json& button = Json::RequireObject(buttons.at(key), key);
    read.Add(ConfigButtonOverwrite{kind, Json::ReadText(button, "Text"), Json::ReadAssetPath(button, "Icon")});
  }
  config.ButtonOverwrites = std::move(read);
}

void ReadRewardInterval(const json& general, ShopConfigData& config) {
  const int32_t minutes =
      Json::ReadInt32(general, "RewardIntervalMinutes", Default("RewardIntervalMinutes").get<int32_t>());
  if (minutes > INT32_MAX / 60 || minutes < INT32_MIN / 60) {
    throw std::out_of_range(fmt::format("number {} does not fit in seconds (key \"RewardIntervalMinutes\")", minutes));
  }
  config.RewardIntervalMinutes = minutes;
  config.RewardIntervalSeconds = minutes * 60;
}

void ReadCryoPod(const json& general, ShopConfigData& config) {
  config.CryoPodOverride = Json::ReadAssetPath(general, "CryoPodOverride");
  if (config.CryoPodOverride.IsEmpty()) config.CryoPodOverride.Path = FString::FromUtf8(DefaultText("CryoPodOverride"));
}

void ReadGeneral(const json& general, ShopConfigData& config) {
  ReadGeneralKey(general, [&](const json& from) {
    config.ShopName = Json::ReadText(from, "ShopName", DefaultText("ShopName"));
  });
  ReadShopKey(general, config);
  ReadGeneralKey(general, [&](const json& from) {
    config.BuffName = Json::ReadText(from, "BuffName", DefaultText("BuffName"));
  });
  ReadGeneralKey(general, [&](const json& from) { ReadCryoPod(from, config); });
  ReadGeneralKey(general, [&](const json& from) { ReadRewardInterval(from, config); });
  ReadGeneralKey(general, [&](const json& from) {
    const float hours = Default("ShowPacketsAvailableInHours").get<float>();
    config.ShowPacketsAvailableSeconds = Json::ReadHoursAsSeconds(from, "ShowPacketsAvailableInHours", hours);
  });
  const std::pair<const char*, bool ShopSettings::*> flags[] = {
      {"SumPlayerPassivePointsAmount", &ShopSettings::SumPlayerPassivePointsAmount},
      {"SumPlayerShopDiscount", &ShopSettings::SumPlayerShopDiscount},
      {"DisableMultiuse", &ShopSettings::DisableMultiuse},
      {"DisableSell", &ShopSettings::DisableSell},
      {"DisableTrade", &ShopSettings::DisableTrade},
      {"ShowBuffIcon", &ShopSettings::ShowBuffIcon}};
  for (const auto& [key, field] : flags) {
    ReadGeneralKey(general,
                   [&](const json& from) { config.*field = Json::ReadBool(from, key, Default(key).get<bool>()); });
  }
  ReadGeneralKey(general, [&](const json& from) { ReadPreventOptions(from, config); });
  ReadGeneralKey(general, [&](const json& from) {
    config.GroupsHiddenFromTrade = Json::ReadTextList(from, "GroupsHiddenFromTrade");
  });
  ReadGeneralKey(general, [&](const json& from) { ReadButtonOverwrites(from, config); });
}

void ReadDiscordKind(const json& discord, const char* key, ConfigDiscordKind& kind) {
  if (!discord.contains(key)) return;
  const json& entry = Json::RequireObject(discord.at(key), key);
  const bool enabled = Json::ReadBool(entry, "enabled", false);
  kind.webhook = Json::ReadString(entry, "webhook");
  kind.enabled = enabled;
}

void ReadDiscordLog(const json& root, ShopConfigData& config) {
  if (!root.contains("DiscordLog")) return;
  const json& discord = Json::RequireObject(root.at("DiscordLog"), "DiscordLog");
  const std::pair<const char*, ConfigDiscordKind ConfigDiscordLog::*> kinds[] = {
      {"Buy", &ConfigDiscordLog::Buy},
      {"Sell", &ConfigDiscordLog::Sell},
      {"Redeem", &ConfigDiscordLog::Redeem},
      {"Trade", &ConfigDiscordLog::Trade}};
  for (const auto& [key, kind] : kinds) {
    ReadGuarded("DiscordLog", [&] { ReadDiscordKind(discord, key, config.DiscordLog.*kind); });
  }
}

void ReadMessages(const json& root, ShopConfigData& config) {
  if (!root.contains("Messages")) return;
  const json& messages = Json::RequireObject(root.at("Messages"), "Messages");
  const ConfigMessages defaults;
  const std::pair<const char*, std::string ConfigMessages::*> keys[] = {
      {"BoughtItem", &ConfigMessages::BoughtItem},         {"GotTimedPoints", &ConfigMessages::GotTimedPoints},
      {"MissingPoints", &ConfigMessages::MissingPoints},   {"RedeemPacket", &ConfigMessages::RedeemPacket},
      {"GotTradePoints", &ConfigMessages::GotTradePoints}, {"SendPoints", &ConfigMessages::SendPoints}};
  for (const auto& [key, field] : keys) {
    ReadGuarded("Messages", [&] {
      config.Messages.*field = Json::ReadString(messages, key, defaults.*field);
    });
  }
}

}  // namespace

bool IsValidShopKey(const FString& key) {
  for (int i = 1; i <= 10; ++i) {
    const std::string candidate = fmt::format("F{}", i);
    if (Game::FGenericPlatformStricmp_::StricmpWideNarrow(*key, candidate.c_str()) == 0) return true;
  }
  return false;
}

void ClearShopConfig(ShopConfigData& config) {
  config.ButtonOverwrites.Empty();
  config.GroupsHiddenFromTrade.Empty();
  config.ClearCatalogue();
}

void ReadShopConfig(const nlohmann::json& root, ShopConfigData& config) {
  // Nothing of an earlier read stays: what the file leaves out takes its default.
  static_cast<ShopSettings&>(config) = ShopSettings{};
  config.ButtonOverwrites.Empty();
  config.GroupsHiddenFromTrade.Empty();
  const json& general = Json::Section(root, "General");
  if (!general.is_object()) {
    // Without "General" nothing else is read.
    ReportError("General", general.is_null() ? "the section \"General\" is missing"
                                             : fmt::format("type must be object, but is {} (key \"General\")",
                                                           general.type_name()));
    return;
  }
  ReadGeneral(general, config);
  ReadGuarded("DiscordLog", [&] { ReadDiscordLog(root, config); });
  ReadGuarded("Messages", [&] { ReadMessages(root, config); });
  for (const auto& [key, field] : {std::pair{"BuffIconOverride", &ShopSettings::BuffIconOverride},
                                   std::pair{"ShopIconOverride", &ShopSettings::ShopIconOverride}}) {
    ReadGeneralKey(general, [&](const json& from) { config.*field = Json::ReadAssetPath(from, key); });
  }
  ReadCatalogueSections(root, config);
  // The views the mod is sent are built from the records here, once the mod
  // channel exists.
}

ShopConfigData& ShopConfig() {
  static ShopConfigData config;
  return config;
}

ConfigMysql& MysqlConfig() {
  static ConfigMysql mysql;
  return mysql;
}

}  // namespace ConfigHelper
