#include "core/Lifecycle.h"

#include <nlohmann/json.hpp>

#include "commands/CommandHandler.h"
#include "config/MysqlConfig.h"
#include "config/ShopConfigReader.h"
#include "core/GameInfo.h"
#include "core/PluginState.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"

namespace TandorShop {
namespace {

void ApplyMysqlConfig(const nlohmann::json& config) {
  ConfigHelper::MysqlConfig() = ConfigHelper::ReadMysqlConfig(config);
  DBHelper::setConfig(ConfigHelper::MysqlConfig());
}

void RereadShopConfig(const nlohmann::json& config) {
  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ConfigHelper::ReadShopConfig(config, ConfigHelper::ShopConfig());
}

void LoadedAtStartup(const nlohmann::json& config) {
  ApplyMysqlConfig(config);
  DBHelper::createTables();
  RereadShopConfig(config);
  // Next: the packet cooldown file's path, the login/logout/possession hooks
  // with the points timer, and the admin and chat commands.
  CommandHandler::AddCommands();
}

void LoadedIntoRunningServer(const nlohmann::json& config) {
  GameInfo::RefreshServerId();
  ApplyMysqlConfig(config);
  DBHelper::createTables();
  RereadShopConfig(config);
  // Next: the packet cooldown file's path, the version request, the points
  // hooks and timer, the players already online, the commands.
  CommandHandler::AddCommands();
  Pool().StartWorkers();
}

void ServerReady() {
  GameInfo::RefreshServerId();
  // Next: the version request.
  Pool().StartWorkers();
}

void Reload(const nlohmann::json& config) {
  ApplyMysqlConfig(config);
  RereadShopConfig(config);
  // Next: assets, creature data and the global settings for the mod.
}

void Unload() {
  if (ModChannelActive.load()) {
    // The mod-message hook and the per-tick callback come off here.
    ModChannelActive.store(false);
  }
  // Then the points hooks and timer, and the commands.
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
