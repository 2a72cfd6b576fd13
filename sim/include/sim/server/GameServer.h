#pragma once
// One simulated dedicated server: world, players, game loop, RCON, HTTP, log
// sinks and the plugin it loads. One at a time per process (the framework's
// tables are process-wide).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AsaApi/FString.h"
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
class Companions;
class ClientMod;
class WorldExtras;
class VersionService;
class DiscordReceiver;
class GameModel;

class Server {
 public:
  explicit Server(ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

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

  // The client mod, the world's extra pieces and the web services (sim/Companions.h).
  ClientMod& Mod();
  WorldExtras& Extras();
  VersionService& Version();
  DiscordReceiver& Discord();
  // Where the shop page listens; 0 when the server has none.
  uint16_t PagePort() const;

  // Logs
  std::vector<std::string> LogLines() const;
  bool LogContains(const std::string& text) const;
  std::size_t CountLog(const std::string& text) const;
  std::vector<std::string> HostErrors() const;
  // Forgets the chat messages and log lines recorded so far (long runs).
  void ClearRecords();
  const std::string& LogFile() const { return options_.LogFile; }

  // Internals the game functions reach.
  static Server* Current();
  SimGameMode* GameMode() { return gameMode_.get(); }
  SimWorld* World() { return world_.get(); }
  // Game data, creatures, items and inventories, console commands (sim/GameModel.h).
  GameModel& Model() { return *model_; }
  void RecordMessage(AShooterPlayerController* player, const std::string& sender, const std::string& text);
  void RecordClientMessage(APlayerController* player, const std::string& text);
  void PostToGameThread(std::function<void()> work);
  void MarkReady();
  void SendRcon(uint64_t connectionId, int32_t id, int32_t type, const std::string& body);
  const ServerOptions& Options() const { return options_; }

 private:
  void RegisterGame();
  void RunGameThreadQueue();

  ServerOptions options_;
  bool ready_ = false;
  ObjectPtr<SimGameMode> gameMode_;
  ObjectPtr<SimWorld> world_;
  std::unique_ptr<GameModel> model_;
  std::map<std::string, SimPlayer> players_;  // by lower-case EOS id
  std::map<std::string, std::vector<ReceivedMessage>> messages_;
  std::map<std::string, std::vector<std::string>> clientMessages_;
  std::map<std::string, std::vector<std::string>> groups_;
  std::unique_ptr<ApiUtilsImpl> apiUtils_;
  std::unique_ptr<HttpRequests> http_;
  std::unique_ptr<RconServer> rcon_;
  std::unique_ptr<Companions> companions_;
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
