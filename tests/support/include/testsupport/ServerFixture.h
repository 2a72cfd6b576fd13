#pragma once
// A simulated server in a temporary directory with the plugin's configuration
// file in place, for tests that drive the plugin end to end.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/assembly/Server.h"

namespace testsupport {

// A small valid configuration on the private database, with its own table prefix.
nlohmann::json MinimalConfig(const std::string& tablePrefix);

class ServerFixture {
 public:
  explicit ServerFixture(sim::ServerOptions options = {});
  ~ServerFixture();

  sim::Server& Server() { return *server_; }
  const std::string& Dir() const { return dir_; }
  std::string ConfigPath() const;

  void WriteConfig(const nlohmann::json& config);
  void WriteRawConfig(const std::string& text);

  // Loads the plugin into a server that has not begun play yet.
  void LoadAtStartup();
  // Lets the game mode begin play, then loads the plugin.
  void LoadIntoRunningServer();

  // Ticks the game loop (sleeping a little between ticks, for workers and HTTP)
  // until done() holds; false when the timeout passed first.
  bool TickUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(15));
  // Loads into a running server and waits until the version answer opened the
  // mod channel (or was refused or failed).
  bool LoadAndOpenShop();
  // The mod channel is open.
  bool ShopOpen();

  // Runs command over a real RCON socket while the game loop keeps ticking.
  std::optional<std::string> Rcon(const std::string& command);

 private:
  std::string dir_;
  std::unique_ptr<sim::Server> server_;
};

}  // namespace testsupport
