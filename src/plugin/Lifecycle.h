#pragma once
#include <cstdint>

#include <nlohmann/json_fwd.hpp>

namespace TandorShop {

enum class PluginEvent : int32_t {
  LoadedAtStartup = 0,
  Unload = 1,
  LoadedIntoRunningServer = 2,
  Reload = 3,
  ServerReady = 4,
};

// Runs the steps of one lifecycle event. config is the loaded configuration
// document for the load and reload events, null for Unload; ServerReady does not
// read it.
void HandlePluginEvent(PluginEvent event, const nlohmann::json* config);

}  // namespace TandorShop
