#pragma once
// One simulated dedicated server: world, players, game loop, RCON, HTTP, log
// sinks and the plugin it loads. One at a time per process (the framework's
// tables are process-wide). What surrounds it (the client mod, the web services,
// the Permissions plugin, the shop page) is handed to it from above
// (sim/assembly/Server.h); the world's game functions reach it as their GameHost.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AsaApi/FString.h"
#include "sim/world/GameHost.h"
#include "sim/world/World.h"

namespace sim {

struct ServerOptions {
  std::string ServerDir;           // the server's current directory (ArkApi/Plugins/... below it)
  std::string MapName = "TheIsland_WP";
  int32_t ServerId = 1;
  std::u16string CommandLine = u"ArkAscendedServer.exe TheIsland_WP?listen";
  std::string RconPassword = "secret";
  uint16_t RconPort = 0;           // 0: any free port
  std::string LogFile;             // empty: no file sink
  bool ConsoleLog = false;         // also log to the terminal
  std::string SessionName = "Tandor Test Server";
  bool PermissionsPlugin = true;   // load the Permissions plugin stand-in
  uint16_t DiscordPort = 0;        // the Discord receiver's port; 0: any free port
  bool ShopPage = false;           // serve the shop page (sim/ShopPage.h)
  uint16_t PagePort = 0;           // its port; 0: any free port
};

struct ReceivedMessage {
  std::string Sender;
  std::string Text;
};

class RconServer;
class HttpRequests;
class ApiUtilsImpl;
class PluginThreads;
class WorldExtras;
class GameModel;

class GameServer : public GameHost {
 public:
  explicit GameServer(ServerOptions options);
  virtual ~GameServer();
  GameServer(const GameServer&) = delete;
  GameServer& operator=(const GameServer&) = delete;

  // Plugin
  void LoadPlugin(const std::string& path = TANDORSHOP_PLUGIN_PATH);
  void UnloadPlugin();
  bool PluginLoaded() const { return plugin_ != nullptr; }

  // Start-up: the game mode begins play (through the function table) and the
  // server reports ready.
  void BeginPlay();
  bool Ready() const { return ready_; }

  // Game loop. A tick runs queued RCON requests, HTTP completions and the per-tick
  // callbacks; every tenth tick of a simulated second runs the timers.
  void Tick(float deltaSeconds = 0.1f);
  void Ticks(int count);
  // Runs the loop for whole seconds, moving the clock with it.
  void RunSeconds(int seconds);
  // Moves the clock without running anything.
  void AdvanceClock(int64_t seconds);
  // Waits until the work the plugin handed off is done, as it would be between
  // two seconds of a real server: its worker threads wait for work and no HTTP
  // request is under way (the next tick runs what they left for the game
  // thread). False when timeout passed first; a thread still busy then is not
  // waited for again.
  bool SettlePlugin(std::chrono::milliseconds timeout = std::chrono::seconds(5));

  // Players
  SimPlayer& JoinPlayer(const PlayerSpec& spec);
  void LeavePlayer(const std::string& eosId);
  SimPlayer* FindPlayer(const std::string& eosId);
  const std::vector<ReceivedMessage>& MessagesOf(const std::string& eosId);
  const std::vector<std::string>& ClientMessagesOf(const std::string& eosId);
  void SetGroups(const std::string& eosId, std::vector<std::string> groups);
  bool IsPlayerInGroup(const std::string& eosId, const std::string& group) const;

  // Commands as typed in game: console by a player (null: the server console), chat.
  bool Console(const std::string& eosIdOrEmpty, const std::string& command);
  bool Chat(const std::string& eosId, const std::string& message);

  // RCON: where it listens, its password.
  uint16_t RconPort() const;
  const std::string& RconPassword() const { return options_.RconPassword; }

  // HTTP: send requests for host to a local address ("127.0.0.1:8080").
  void RouteHost(const std::string& host, const std::string& address);

  // What a mod adds to the world (its classes, functions and buffs); null until
  // one is handed over, and handed back (null) before it goes.
  void SetModContent(ModContent* content) { content_ = content; }

  // Logs
  std::vector<std::string> LogLines() const;
  bool LogContains(const std::string& text) const;
  std::size_t CountLog(const std::string& text) const;
  std::vector<std::string> HostErrors() const;
  // Forgets the chat messages and log lines recorded so far (long runs).
  void ClearRecords();
  const std::string& LogFile() const { return options_.LogFile; }

  // What the game functions reach (GameHost).
  SimGameMode* GameMode() { return gameMode_.get(); }
  SimWorld* World() override { return world_.get(); }
  // Game data, creatures, items and inventories, console commands (sim/GameModel.h).
  GameModel& Model() override { return *model_; }
  // Actors listed by class, the game session, textures (sim/WorldExtras.h).
  WorldExtras& Extras() override { return *extras_; }
  ModContent* Content() override { return content_; }
  void RecordMessage(AShooterPlayerController* player, const std::string& sender, const std::string& text);
  void RecordClientMessage(APlayerController* player, const std::string& text);
  void PostToGameThread(std::function<void()> work);
  void MarkReady();
  void SendRcon(uint64_t connectionId, int32_t id, int32_t type, const std::string& body);
  const ServerOptions& Options() const { return options_; }

 protected:
  // Unloads the plugin and stops RCON and the HTTP requests, before what was
  // handed to the server goes.
  void Stop();

 private:
  // The host's tables: the game functions, with this server as the one running
  // game their entry points reach (refused while another server runs).
  void RegisterGame();
  void UnregisterGame();
  void RunGameThreadQueue();

  ServerOptions options_;
  bool ready_ = false;
  ObjectPtr<SimGameMode> gameMode_;
  ObjectPtr<SimWorld> world_;
  std::unique_ptr<GameModel> model_;
  std::unique_ptr<WorldExtras> extras_;
  ModContent* content_ = nullptr;
  std::map<std::string, SimPlayer> players_;  // by lower-case EOS id
  std::map<std::string, std::vector<ReceivedMessage>> messages_;
  std::map<std::string, std::vector<std::string>> clientMessages_;
  std::map<std::string, std::vector<std::string>> groups_;
  std::unique_ptr<ApiUtilsImpl> apiUtils_;
  std::unique_ptr<HttpRequests> http_;
  std::unique_ptr<RconServer> rcon_;
  std::unique_ptr<PluginThreads> pluginThreads_;
  std::shared_ptr<void> plugin_;
  std::mutex queueMutex_;
  std::vector<std::function<void()>> gameThreadQueue_;
  float secondFraction_ = 0;
  // The log sinks (memory, file, console) and the host error handler.
  void InstallLogs();
  struct LogCapture;
  std::shared_ptr<LogCapture> capture_;
};

}  // namespace sim
