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

struct ReloadOutcome {
  bool Applied = false;  // the file replaced the running configuration
  int Warnings = 0;      // entries skipped with a warning
};

// The Reload event's steps, all or nothing: the file is read completely into a
// fresh configuration, which replaces the running one (catalogue, messages,
// Discord, database settings) only when it has no error and a usable "Mysql".
ReloadOutcome ReloadConfiguration(const nlohmann::json& config);

}  // namespace TandorShop
