// The entry points the host calls on the game thread.
#include <exception>

#include <nlohmann/json.hpp>

#include "AsaApi/ApiUtils.h"
#include "config/ConfigLoader.h"
#include "core/Export.h"
#include "core/Log.h"
#include "core/PluginState.h"
#include "core/ThreadPool.h"
#include "modcomm/ModChannel.h"
#include "plugin/GameModeHook.h"
#include "plugin/LayerWiring.h"
#include "plugin/Lifecycle.h"
#include "plugin/ReloadCommands.h"
#include "shop/Settlements.h"

namespace TandorShop {
namespace {

void Start() {
  CreateLogger();
  Unloading.store(false);
  ModChannel::MarkGameThread();
  WireLayers();
  nlohmann::json config;
  if (!ConfigHelper::LoadConfigFile(config)) {
    Log().warn("No valid config found. Stopped loading plugin.");
    return;
  }
  InstallGameModeHook();
  AddReloadCommands();
  const bool running = AsaApi::GetApiUtils().GetStatus() == AsaApi::ServerStatus::Ready;
  HandlePluginEvent(running ? PluginEvent::LoadedIntoRunningServer : PluginEvent::LoadedAtStartup, &config);
}

void Stop() {
  // No new charge or take starts (no delivery would follow it); the workers run
  // what is queued, and each settlement still open gets one last try here. What
  // the database holds as owed is settled at the next start.
  Unloading.store(true);
  Pool().StopWorkers();
  Settlements::SettleBeforeUnload();
  HandlePluginEvent(PluginEvent::Unload, nullptr);
  RemoveGameModeHook();
  RemoveReloadCommands();
}

}  // namespace
}  // namespace TandorShop

extern "C" TANDORSHOP_API void Plugin_Init() {
  try {
    TandorShop::Start();
  } catch (const std::exception& e) {
    TandorShop::Log().critical("Loading the plugin failed: {}", e.what());
  } catch (...) {
    TandorShop::Log().critical("Loading the plugin failed");
  }
}

extern "C" TANDORSHOP_API void Plugin_Unload() {
  try {
    TandorShop::Stop();
  } catch (const std::exception& e) {
    TandorShop::Log().critical("Unloading the plugin failed: {}", e.what());
  } catch (...) {
    TandorShop::Log().critical("Unloading the plugin failed");
  }
  TandorShop::DestroyLogger();
}
