#include "plugin/Lifecycle.h"

#include <nlohmann/json.hpp>

#include "commands/CommandHandler.h"
#include "config/MysqlConfig.h"
#include "config/ShopConfigReader.h"
#include "core/GameInfo.h"
#include "core/PluginState.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "db/KeptConnection.h"
#include "modcomm/ModChannel.h"
#include "notify/DiscordHelper.h"
#include "notify/VersionCheck.h"
#include "points/PointsHandler.h"
#include "shop/Cooldowns.h"

namespace TandorShop {
namespace {

void ApplyMysqlConfig(const nlohmann::json& config) {
  ConfigHelper::MysqlConfig() = ConfigHelper::ReadMysqlConfig(config);
  DBHelper::setConfig(ConfigHelper::MysqlConfig());
}

void RereadShopConfig(const nlohmann::json& config) {
  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ConfigHelper::ReadShopConfig(config, ConfigHelper::ShopConfig());
  DiscordHelper::setConfig(ConfigHelper::ShopConfig().DiscordLog);
}

void LoadedAtStartup(const nlohmann::json& config) {
  ApplyMysqlConfig(config);
  DBHelper::createTables();
  RereadShopConfig(config);
  ModChannel::RefreshAfterConfigRead(false);
  Cooldowns::ComputeCooldownFilePath();
  Cooldowns::LoadServerCooldownFile();
  PointsHandler::Start();
  CommandHandler::AddCommands();
}

void LoadedIntoRunningServer(const nlohmann::json& config) {
  GameInfo::RefreshServerId();
  ApplyMysqlConfig(config);
  DBHelper::createTables();
  RereadShopConfig(config);
  ModChannel::RefreshAfterConfigRead(false);
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

void Reload(const nlohmann::json& config) {
  ApplyMysqlConfig(config);
  RereadShopConfig(config);
  Cooldowns::LoadServerCooldownFile();
  ModChannel::RefreshAfterConfigRead(true);
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
      if (config != nullptr) Reload(*config);
      break;
    case PluginEvent::ServerReady:
      ServerReady();
      break;
    case PluginEvent::Unload:
      Unload();
      break;
  }
}

}  // namespace TandorShop
