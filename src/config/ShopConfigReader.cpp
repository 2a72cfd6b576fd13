#include "config/ShopConfigReader.h"

#include <climits>
#include <stdexcept>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Game/FGenericPlatformStricmp.h"
#include "config/CatalogueReader.h"
#include "config/CatalogueJson.h"
#include "config/JsonRead.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;


void ReadShopKey(const json& general, ShopConfigData& config) {
  config.ShopKey = Json::ReadText(general, "ShopKey");
  if (!IsValidShopKey(config.ShopKey)) {
    TandorShop::Log().warn("Shop key invalid. Only F1 - F10 are valid. Set to default F2");
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

void ReadGeneral(const json& general, ShopConfigData& config) {
  config.ShopName = Json::ReadText(general, "ShopName");
  ReadShopKey(general, config);
  config.BuffName = Json::ReadText(general, "BuffName");
  config.CryoPodOverride = Json::ReadAssetPath(general, "CryoPodOverride");
  if (config.CryoPodOverride.IsEmpty()) config.CryoPodOverride.Path = DefaultCryoPodPath;
  const int32_t minutes = Json::ReadInt32(general, "RewardIntervalMinutes", 30);
  if (minutes > INT32_MAX / 60 || minutes < INT32_MIN / 60) {
    throw std::out_of_range(fmt::format("number {} does not fit in seconds (key \"RewardIntervalMinutes\")", minutes));
  }
  config.RewardIntervalMinutes = minutes;
  config.RewardIntervalSeconds = minutes * 60;
  config.ShowPacketsAvailableSeconds = Json::ReadHoursAsSeconds(general, "ShowPacketsAvailableInHours", 8760.0f);
  config.SumPlayerPassivePointsAmount = Json::ReadBool(general, "SumPlayerPassivePointsAmount", false);
  config.SumPlayerShopDiscount = Json::ReadBool(general, "SumPlayerShopDiscount", false);
  config.DisableMultiuse = Json::ReadBool(general, "DisableMultiuse", false);
  config.DisableSell = Json::ReadBool(general, "DisableSell", false);
  config.DisableTrade = Json::ReadBool(general, "DisableTrade", false);
  config.ShowBuffIcon = Json::ReadBool(general, "ShowBuffIcon", true);
  ReadPreventOptions(general, config);
  config.GroupsHiddenFromTrade = Json::ReadTextList(general, "GroupsHiddenFromTrade");
  ReadButtonOverwrites(general, config);
}

void ReadDiscordKind(const json& discord, const char* key, ConfigDiscordKind& kind) {
  if (!discord.contains(key)) return;
  const json& entry = Json::RequireObject(discord.at(key), key);
  kind.enabled = Json::ReadBool(entry, "enabled", false);
  kind.webhook = entry.value("webhook", std::string());
}

void ReadDiscordLog(const json& root, ShopConfigData& config) {
  if (!root.contains("DiscordLog")) return;
  const json& discord = Json::RequireObject(root.at("DiscordLog"), "DiscordLog");
  ReadDiscordKind(discord, "Buy", config.DiscordLog.Buy);
  ReadDiscordKind(discord, "Sell", config.DiscordLog.Sell);
  ReadDiscordKind(discord, "Redeem", config.DiscordLog.Redeem);
  ReadDiscordKind(discord, "Trade", config.DiscordLog.Trade);
}

void ReadMessages(const json& root, ShopConfigData& config) {
  if (!root.contains("Messages")) return;
  const json& messages = root.at("Messages");
  const ConfigMessages defaults;
  ConfigMessages& m = config.Messages;
  m.BoughtItem = messages.value("BoughtItem", defaults.BoughtItem);
  m.GotTimedPoints = messages.value("GotTimedPoints", defaults.GotTimedPoints);
  m.MissingPoints = messages.value("MissingPoints", defaults.MissingPoints);
  m.RedeemPacket = messages.value("RedeemPacket", defaults.RedeemPacket);
  m.GotTradePoints = messages.value("GotTradePoints", defaults.GotTradePoints);
  m.SendPoints = messages.value("SendPoints", defaults.SendPoints);
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
  try {
    const json& general = Json::Section(root, "General");
    if (!general.is_object()) {
      throw std::invalid_argument(fmt::format("type must be object, but is {} (key \"General\")", general.type_name()));
    }
    ReadGeneral(general, config);
    ReadDiscordLog(root, config);
    ReadMessages(root, config);
    config.BuffIconOverride = Json::ReadAssetPath(general, "BuffIconOverride");
    config.ShopIconOverride = Json::ReadAssetPath(general, "ShopIconOverride");
    ReadCatalogueSections(root, config);
    // The views the mod is sent are built from the records here, once the mod
    // channel exists.
  } catch (const std::exception& e) {
    TandorShop::Log().warn("Error in ShopConfig {}", e.what());
  }
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
