#include "plugin/Lifecycle.h"

#include <nlohmann/json.hpp>

#include "commands/CommandHandler.h"
#include "config/ConfigRead.h"
#include "config/LoadSummary.h"
#include "core/GameInfo.h"
#include "core/Log.h"
#include "core/PluginState.h"
#include "core/ThreadPool.h"
#include "core/Version.h"
#include "db/DBHelper.h"
#include "db/KeptConnection.h"
#include "modcomm/ModChannel.h"
#include "notify/DiscordHelper.h"
#include "notify/VersionCheck.h"
#include "points/PointsHandler.h"
#include "shop/Cooldowns.h"

namespace TandorShop {
namespace {

void ApplyMysqlConfig(const ConfigHelper::ConfigMysql& mysql) {
  ConfigHelper::MysqlConfig() = mysql;
  DBHelper::setConfig(ConfigHelper::MysqlConfig());
}

// Replaces the running shop settings with a complete read. Reward packets point
// into the packet list, whose buffer moves along with it.
void ApplyShopConfig(ConfigHelper::ShopConfigData&& shop) {
  ConfigHelper::ShopConfig() = std::move(shop);
  DiscordHelper::setConfig(ConfigHelper::ShopConfig().DiscordLog);
}

void LogLoadSummary(const char* what) {
  Log().info(ConfigHelper::LoadSummaryLine(ProjectVersion, what,
                                           ConfigHelper::CountCatalogue(ConfigHelper::ShopConfig()),
                                           ConfigHelper::MysqlConfig()));
}

// At load the file is used as read: entries at fault are left out (and logged),
// the rest of the shop runs.
void ReadAtLoad(const nlohmann::json& config) {
  ConfigHelper::ConfigRead read = ConfigHelper::ReadConfiguration(config);
  ApplyMysqlConfig(read.Mysql);
  DBHelper::createTables();
  ApplyShopConfig(std::move(*read.Shop));
}

void LoadedAtStartup(const nlohmann::json& config) {
  ReadAtLoad(config);
  ModChannel::RefreshAfterConfigRead(false);
  LogLoadSummary("loaded");
  Cooldowns::ComputeCooldownFilePath();
  Cooldowns::LoadServerCooldownFile();
  PointsHandler::Start();
  CommandHandler::AddCommands();
}

void LoadedIntoRunningServer(const nlohmann::json& config) {
  GameInfo::RefreshServerId();
  ReadAtLoad(config);
  ModChannel::RefreshAfterConfigRead(false);
  LogLoadSummary("loaded");
  Cooldowns::ComputeCooldownFilePath();
  Cooldowns::LoadServerCooldownFile();
  VersionCheck::StartVersionCheck();
  PointsHandler::Start();
  PointsHandler::RegisterPlayersOnline();
  CommandHandler::AddCommands();
  Pool().StartWorkers(&DBHelper::MakeWorkerConnectionScope);
}

void ServerReady() {
  GameInfo::RefreshServerId();
  VersionCheck::StartVersionCheck();
  Pool().StartWorkers(&DBHelper::MakeWorkerConnectionScope);
}

void Unload() {
  ModChannel::StopModChannel();  // the mod-message hook and tan_shp, when the channel was open
  PointsHandler::Stop();
  PointsHandler::Forget();
  CommandHandler::RemoveCommands();
}

}  // namespace

void HandlePluginEvent(PluginEvent event, const nlohmann::json* config) {
  switch (event) {
    case PluginEvent::LoadedAtStartup:
      if (config != nullptr) LoadedAtStartup(*config);
      break;
    case PluginEvent::LoadedIntoRunningServer:
      if (config != nullptr) LoadedIntoRunningServer(*config);
      break;
    case PluginEvent::Reload:
      if (config != nullptr) ReloadConfiguration(*config);
      break;
    case PluginEvent::ServerReady:
      ServerReady();
      break;
    case PluginEvent::Unload:
      Unload();
      break;
  }
}

ReloadOutcome ReloadConfiguration(const nlohmann::json& config) {
  ConfigHelper::ConfigRead read = ConfigHelper::ReadConfiguration(config);
  ReloadOutcome outcome;
  outcome.Warnings = read.Report.Warnings();
  if (!read.Usable()) {
    Log().warn("Config not reloaded: {} error(s) in the file; the running configuration stays unchanged.",
               read.Report.Errors());
    return outcome;
  }
  ApplyMysqlConfig(read.Mysql);
  ApplyShopConfig(std::move(*read.Shop));
  Cooldowns::LoadServerCooldownFile();
  ModChannel::RefreshAfterConfigRead(true);
  LogLoadSummary("reloaded");
  outcome.Applied = true;
  return outcome;
}

}  // namespace TandorShop
