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
#include "config/JsonRead.h"
#include "config/ReadReport.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;


void ReadShopKey(const json& general, ShopConfigData& config) {
  config.ShopKey = Json::ReadText(general, "ShopKey");
  if (!IsValidShopKey(config.ShopKey)) {
    Warn("Shop key invalid. Only F1 - F10 are valid. Set to default F2");
    config.ShopKey = "F2";
  }
}

void ReadPreventOptions(const json& general, ShopConfigData& config) {
  if (!general.contains("PreventOptions")) return;
  const json& prevent = Json::RequireObject(general.at("PreventOptions"), "PreventOptions");
  config.PreventWhileHandcuffed = Json::ReadBool(prevent, "PreventWhileHandcuffed", false);
  config.PreventWhileKnockedOut = Json::ReadBool(prevent, "PreventWhileKnockedOut", false);
  config.PreventWhileRiding = Json::ReadBool(prevent, "PreventWhileRiding", false);
}

void ReadButtonOverwrites(const json& general, ShopConfigData& config) {
  if (!general.contains("ButtonOverwrites")) return;
  const json& buttons = Json::RequireObject(general.at("ButtonOverwrites"), "ButtonOverwrites");
  static const std::pair<const char*, ButtonKind> kinds[] = {{"Buy", ButtonKind::Buy},
                                                             {"Sell", ButtonKind::Sell},
                                                             {"Log", ButtonKind::Log},
                                                             {"Redeem", ButtonKind::Redeem},
                                                             {"Trade", ButtonKind::Trade}};
  for (const auto& [key, kind] : kinds) {
    if (!buttons.contains(key)) continue;
    const json& button = Json::RequireObject(buttons.at(key), key);
    config.ButtonOverwrites.Add(ConfigButtonOverwrite{kind, Json::ReadText(button, "Text"), Json::ReadAssetPath(button, "Icon")});
  }
}

// Each key is read on its own: a key of the wrong type is reported and keeps
// its previous value, and the keys after it are still read.
void ReadGeneralKey(const std::function<void()>& read) { ReadGuarded("General", read); }

void ReadRewardInterval(const json& general, ShopConfigData& config) {
  const int32_t minutes = Json::ReadInt32(general, "RewardIntervalMinutes", 30);
  if (minutes > INT32_MAX / 60 || minutes < INT32_MIN / 60) {
    throw std::out_of_range(fmt::format("number {} does not fit in seconds (key \"RewardIntervalMinutes\")", minutes));
  }
  config.RewardIntervalMinutes = minutes;
  config.RewardIntervalSeconds = minutes * 60;
}

void ReadGeneral(const json& general, ShopConfigData& config) {
  ReadGeneralKey([&] { config.ShopName = Json::ReadText(general, "ShopName"); });
  ReadGeneralKey([&] { ReadShopKey(general, config); });
  ReadGeneralKey([&] { config.BuffName = Json::ReadText(general, "BuffName"); });
  ReadGeneralKey([&] {
    config.CryoPodOverride = Json::ReadAssetPath(general, "CryoPodOverride");
    if (config.CryoPodOverride.IsEmpty()) config.CryoPodOverride.Path = DefaultCryoPodPath;
  });
  ReadGeneralKey([&] { ReadRewardInterval(general, config); });
  ReadGeneralKey([&] {
    config.ShowPacketsAvailableSeconds = Json::ReadHoursAsSeconds(general, "ShowPacketsAvailableInHours", 8760.0f);
  });
  const std::pair<const char*, bool ShopConfigData::*> flags[] = {
      {"SumPlayerPassivePointsAmount", &ShopConfigData::SumPlayerPassivePointsAmount},
      {"SumPlayerShopDiscount", &ShopConfigData::SumPlayerShopDiscount},
      {"DisableMultiuse", &ShopConfigData::DisableMultiuse},
      {"DisableSell", &ShopConfigData::DisableSell},
      {"DisableTrade", &ShopConfigData::DisableTrade}};
  for (const auto& [key, field] : flags) ReadGeneralKey([&] { config.*field = Json::ReadBool(general, key, false); });
  ReadGeneralKey([&] { config.ShowBuffIcon = Json::ReadBool(general, "ShowBuffIcon", true); });
  ReadGeneralKey([&] { ReadPreventOptions(general, config); });
  ReadGeneralKey([&] { config.GroupsHiddenFromTrade = Json::ReadTextList(general, "GroupsHiddenFromTrade"); });
  ReadGeneralKey([&] { ReadButtonOverwrites(general, config); });
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
  ReadGeneralKey([&] { config.BuffIconOverride = Json::ReadAssetPath(general, "BuffIconOverride"); });
  ReadGeneralKey([&] { config.ShopIconOverride = Json::ReadAssetPath(general, "ShopIconOverride"); });
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
