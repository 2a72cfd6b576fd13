#pragma once
// Starts, stops and restarts one simulated server with the shop plugin: installs
// the shop's configuration into the server's folder (database settings from
// TANDORSHOP_DB_*), makes the game assets it names, loads the plugin and lets
// the game mode begin play. The clock and the game time survive a restart, as
// they would on a real server that keeps its save.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/assembly/Server.h"

namespace sim {

struct LaunchSettings {
  std::string ConfigFile;                    // the shop configuration to install
  std::string PluginPath = TANDORSHOP_PLUGIN_PATH;
  std::string TablePrefix;                   // empty: the configuration's
  bool LateLoad = false;                     // load the plugin into a server already running
  std::string ServerKey;                     // -serverkey= on the command line
  double Version = 1.01;                     // the version service's answer
  double MinVersion = 1.0;
  ServerOptions Server;                      // ServerDir, ports, log, map, ...
};

// The address webhooks of the example configuration point at; the launcher
// points them at the Discord receiver wherever it listens.
inline constexpr const char* DefaultDiscordAddress = "127.0.0.1:18080";

class ServerLauncher {
 public:
  explicit ServerLauncher(LaunchSettings settings);
  ~ServerLauncher();
  ServerLauncher(const ServerLauncher&) = delete;
  ServerLauncher& operator=(const ServerLauncher&) = delete;

  void Start();
  // Unloads the plugin and stops the server; players are dropped.
  void Stop();
  void Restart();
  bool Running() const { return server_ != nullptr; }
  Server& Current() { return *server_; }
  const LaunchSettings& Settings() const { return settings_; }

  // Runs the game loop for seconds while the clock and the game time move with
  // it: one tick per simulated second, each running the timers once. Before each
  // second the work the plugin handed off is given the time to finish, as a
  // real server's second would give it, so what a scenario shows does not
  // depend on how fast the database answers.
  void Advance(int64_t seconds);
  // Ticks until the mod channel is open; false when timeout passed first.
  bool WaitForShop(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  bool ShopOpen() const;
  // The item class creatures are delivered in.
  const std::string& CryopodPath() const { return cryopodPath_; }
  // The plugin's folder in the server's (config.json, packetCds.txt).
  std::string PluginFolder() const;
  // The table prefix the installed configuration names.
  std::string TablePrefix() const;
  // Changes the shop configuration and installs it again (the plugin reads it
  // at its next reload or start); a restart keeps the change.
  void EditConfig(const std::function<void(nlohmann::json&)>& edit);

 private:
  void InstallConfig(const nlohmann::json& config);

  LaunchSettings settings_;
  std::unique_ptr<Server> server_;
  int64_t advancedSeconds_ = 0;
  double gameTime_ = -1;  // the game time when the server stopped; -1: never ran
  std::string cryopodPath_;
  nlohmann::json config_;     // the shop configuration as read, with the edits since
  nlohmann::json installed_;  // as installed (database settings and webhooks filled in)
};

}  // namespace sim
