#include "config/ShopConfigReader.h"

#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Game/FGenericPlatformStricmp.h"
#include "config/CatalogueReader.h"
#include "config/JsonRead.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;

ConfigAssetPath Asset(const json& object, const char* key) { return ConfigAssetPath{Json::Text(object, key)}; }

void ReadShopKey(const json& general, ShopConfigData& config) {
  config.ShopKey = Json::Text(general, "ShopKey");
  if (!IsValidShopKey(config.ShopKey)) {
    TandorShop::Log().warn("Shop key invalid. Only F1 - F10 are valid. Set to default F2");
    config.ShopKey = "F2";
  }
}

void ReadPreventOptions(const json& general, ShopConfigData& config) {
  if (!general.contains("PreventOptions")) return;
  const json& prevent = general.at("PreventOptions");
  config.PreventWhileHandcuffed = prevent.value("PreventWhileHandcuffed", false);
  config.PreventWhileKnockedOut = prevent.value("PreventWhileKnockedOut", false);
  config.PreventWhileRiding = prevent.value("PreventWhileRiding", false);
}

void ReadButtonOverwrites(const json& general, ShopConfigData& config) {
  if (!general.contains("ButtonOverwrites")) return;
  const json& buttons = general.at("ButtonOverwrites");
  static const std::pair<const char*, ButtonKind> kinds[] = {{"Buy", ButtonKind::Buy},
                                                             {"Sell", ButtonKind::Sell},
                                                             {"Log", ButtonKind::Log},
                                                             {"Redeem", ButtonKind::Redeem},
                                                             {"Trade", ButtonKind::Trade}};
  for (const auto& [key, kind] : kinds) {
    if (!buttons.contains(key)) continue;
    const json& button = buttons.at(key);
    config.ButtonOverwrites.Add(ConfigButtonOverwrite{kind, Json::Text(button, "Text"), Asset(button, "Icon")});
  }
}

void ReadGeneral(const json& general, ShopConfigData& config) {
  config.ShopName = Json::Text(general, "ShopName");
  ReadShopKey(general, config);
  config.BuffName = Json::Text(general, "BuffName");
  config.CryoPodOverride = Asset(general, "CryoPodOverride");
  if (config.CryoPodOverride.IsEmpty()) config.CryoPodOverride.Path = DefaultCryoPodPath;
  config.RewardIntervalMinutes = general.value("RewardIntervalMinutes", 30);
  config.RewardIntervalSeconds = config.RewardIntervalMinutes * 60;
  config.ShowPacketsAvailableSeconds = Json::HoursToSeconds(general, "ShowPacketsAvailableInHours", 8760.0f);
  config.SumPlayerPassivePointsAmount = general.value("SumPlayerPassivePointsAmount", false);
  config.SumPlayerShopDiscount = general.value("SumPlayerShopDiscount", false);
  config.DisableMultiuse = general.value("DisableMultiuse", false);
  config.DisableSell = general.value("DisableSell", false);
  config.DisableTrade = general.value("DisableTrade", false);
  config.ShowBuffIcon = general.value("ShowBuffIcon", true);
  ReadPreventOptions(general, config);
  config.GroupsHiddenFromTrade = Json::TextList(general, "GroupsHiddenFromTrade");
  ReadButtonOverwrites(general, config);
}

void ReadDiscordKind(const json& discord, const char* key, ConfigDiscordKind& kind) {
  if (!discord.contains(key)) return;
  const json& entry = discord.at(key);
  kind.enabled = entry.value("enabled", false);
  kind.webhook = entry.value("webhook", std::string());
}

void ReadDiscordLog(const json& root, ShopConfigData& config) {
  if (!root.contains("DiscordLog")) return;
  const json& discord = root.at("DiscordLog");
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
    ReadGeneral(general, config);
    ReadDiscordLog(root, config);
    ReadMessages(root, config);
    config.BuffIconOverride = Asset(general, "BuffIconOverride");
    config.ShopIconOverride = Asset(general, "ShopIconOverride");
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
