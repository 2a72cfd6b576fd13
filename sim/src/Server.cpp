#include "sim/Server.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/stdout_color_sinks.h>

#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterGameMode.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/RCON.h"
#include "AsaApi/Game/UWorld.h"
#include "AsaApi/Host.h"
#include "AsaApi/Logging.h"
#include "HttpRequests.h"
#include "RconServer.h"
#include "sim/Classes.h"
#include "sim/Companions.h"
#include "sim/EngineRuntime.h"
#include "sim/GameModel.h"
#include "sim/ShopPage.h"

namespace sim {

// ---------------------------------------------------------------------------
// Log capture: the formatted lines every sink sees, for tests to read.
struct Server::LogCapture : spdlog::sinks::base_sink<std::mutex> {
  std::vector<std::string> Lines() {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }

 protected:
  void sink_it_(const spdlog::details::log_msg& message) override {
    spdlog::memory_buf_t formatted;
    formatter_->format(message, formatted);
    std::string line = fmt::to_string(formatted);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    lines_.push_back(std::move(line));
  }
  void flush_() override {}

 private:
  std::vector<std::string> lines_;
};

namespace {

Server* g_current = nullptr;
std::mutex g_hostErrorsMutex;
std::vector<std::string> g_hostErrors;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

SimPlayerController* AsSim(const void* controller) {
  return static_cast<SimPlayerController*>(const_cast<void*>(controller));
}

// --- the game's functions -------------------------------------------------
void GameModeBeginPlay(AShooterGameMode*) {
  if (Server* server = Server::Current()) server->MarkReady();
}

void GameModePostLogin(AShooterGameMode*, APlayerController* player) {
  Server* server = Server::Current();
  if (server == nullptr || player == nullptr) return;
  server->World()->PlayerControllerList.Add(TWeakObjectPtr<APlayerController>(player));
}

void GameModeLogout(AShooterGameMode*, AController* exiting) {
  Server* server = Server::Current();
  if (server == nullptr) return;
  server->World()->PlayerControllerList.RemoveAll(
      [exiting](const TWeakObjectPtr<APlayerController>& weak) {
        return weak.Get() == nullptr || static_cast<void*>(weak.Get()) == static_cast<void*>(exiting);
      });
}

void CharacterPossessedBy(AShooterCharacter* character, AController* controller) {
  auto* simCharacter = reinterpret_cast<SimCharacter*>(character);
  simCharacter->Controller = controller;
  if (controller != nullptr) AsSim(controller)->Character = simCharacter;
}

FString* WorldGetMapName(UWorld* world, FString* out) {
  *out = reinterpret_cast<SimWorld*>(world)->MapName;
  return out;
}

FString* ControllerEosId(AShooterPlayerController* controller, FString* out) {
  *out = AsSim(controller)->EosId;
  return out;
}

FString* ControllerCharacterName(AShooterPlayerController* controller, FString* out) {
  *out = AsSim(controller)->CharacterName;
  return out;
}

void ControllerClientMessage(APlayerController* controller, FString* text, FName, bool) {
  if (Server* server = Server::Current()) server->RecordClientMessage(controller, text ? text->ToUtf8() : "");
}

void RconSendMessage(RCONClientConnection* connection, int id, int type, FString* text) {
  Server* server = Server::Current();
  if (server == nullptr || connection == nullptr) return;
  server->SendRcon(reinterpret_cast<SimRconConnection*>(connection)->ConnectionId, id, type,
                   text ? text->ToUtf8() : "");
}

// --- framework services ---------------------------------------------------
class Messaging final : public AsaApi::IMessagingManager {
 public:
  explicit Messaging(std::string module) : module_(std::move(module)) {}
  void SendServerMessage(AShooterPlayerController* player, const FString& sender, const FString& message) override {
    if (Server* server = Server::Current()) server->RecordMessage(player, sender.ToUtf8(), message.ToUtf8());
  }

 private:
  std::string module_;
};

}  // namespace

class ApiUtilsImpl final : public AsaApi::IApiUtils {
 public:
  explicit ApiUtilsImpl(Server& server) : server_(server) {}
  UWorld* GetWorld() override { return reinterpret_cast<UWorld*>(server_.World()); }
  AShooterGameMode* GetShooterGameMode() override { return reinterpret_cast<AShooterGameMode*>(server_.GameMode()); }
  AsaApi::ServerStatus GetStatus() override {
    return server_.Ready() ? AsaApi::ServerStatus::Ready : AsaApi::ServerStatus::Loading;
  }
  AShooterPlayerController* FindPlayerFromEOSID(const FString& eosId) override {
    SimPlayer* player = server_.FindPlayer(eosId.ToUtf8());
    return player == nullptr ? nullptr : player->AsController();
  }
  std::shared_ptr<AsaApi::IMessagingManager> GetMessagingManager(const std::string& modulePath) override {
    std::lock_guard lock(mutex_);
    auto& messaging = messaging_[modulePath];
    if (!messaging) messaging = std::make_shared<Messaging>(modulePath);
    return messaging;
  }

 private:
  Server& server_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<AsaApi::IMessagingManager>> messaging_;
};

// ---------------------------------------------------------------------------
Server* Server::Current() { return g_current; }

Server::Server(ServerOptions options) : options_(std::move(options)) {
  if (g_current != nullptr) throw std::logic_error("one simulated server at a time");
  g_current = this;
  InstallEngineRuntime();
  RegisterGame();

  capture_ = std::make_shared<LogCapture>();
  auto& sinks = GetLogSinks();
  sinks.clear();
  sinks.push_back(capture_);
  if (!options_.LogFile.empty()) {
    std::filesystem::create_directories(std::filesystem::path(options_.LogFile).parent_path());
    sinks.push_back(std::make_shared<spdlog::sinks::basic_file_sink_mt>(options_.LogFile));
  }
  if (options_.ConsoleLog) sinks.push_back(std::make_shared<spdlog::sinks::stdout_color_sink_mt>());

  {
    std::lock_guard lock(g_hostErrorsMutex);
    g_hostErrors.clear();
  }
  host::SetHostErrorHandler([](const std::string& what) {
    std::lock_guard lock(g_hostErrorsMutex);
    g_hostErrors.push_back(what);
  });

  gameMode_ = NewObject<SimGameMode>();
  gameMode_->ServerId = options_.ServerId;
  world_ = NewObject<SimWorld>();
  world_->MapName = FString::FromUtf8(options_.MapName);
  model_ = std::make_unique<GameModel>();
  world_->GameState = model_->Data.GameState();

  if (options_.ServerDir.empty()) throw std::invalid_argument("a server needs a directory");
  std::filesystem::create_directories(options_.ServerDir);
  host::SetCurrentDir(options_.ServerDir);
  host::SetProcessCommandLine(options_.CommandLine);
  host::ResetClock();

  apiUtils_ = std::make_unique<ApiUtilsImpl>(*this);
  host::InstallApiUtils(apiUtils_.get());
  http_ = std::make_unique<HttpRequests>(*this);
  host::InstallRequests(http_.get());
  rcon_ = std::make_unique<RconServer>(*this, options_.RconPort, options_.RconPassword);
  companions_ = std::make_unique<Companions>(*this, options_);
}

Server::~Server() {
  if (PluginLoaded()) UnloadPlugin();
  rcon_.reset();
  http_.reset();  // joins the request threads
  companions_.reset();
  {
    std::lock_guard lock(queueMutex_);
    gameThreadQueue_.clear();
  }
  host::InstallRequests(nullptr);
  host::InstallApiUtils(nullptr);
  host::SetHostErrorHandler(nullptr);
  players_.clear();
  model_.reset();
  world_.reset();
  gameMode_.reset();
  GetLogSinks().clear();
  g_current = nullptr;
}

void Server::RegisterGame() {
  using namespace Game;
  host::Register(AShooterGameMode_::BeginPlay, &GameModeBeginPlay);
  host::Register(AShooterGameMode_::PostLogin, &GameModePostLogin);
  host::Register(AShooterGameMode_::Logout, &GameModeLogout);
  host::Register(AShooterGameMode_::ServerID, static_cast<std::ptrdiff_t>(offsetof(SimGameMode, ServerId)));
  host::Register(AShooterCharacter_::PossessedBy, &CharacterPossessedBy);
  host::Register(UWorld_::GetMapName, &WorldGetMapName);
  host::Register(UWorld_::PlayerControllerList,
                 static_cast<std::ptrdiff_t>(offsetof(SimWorld, PlayerControllerList)));
  host::Register(AShooterPlayerController_::GetUniqueNetIdAsString, &ControllerEosId);
  host::Register(AShooterPlayerController_::GetPlayerCharacterName, &ControllerCharacterName);
  host::Register(AShooterPlayerController_::LinkedPlayerID,
                 static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, LinkedPlayerId)));
  host::Register(AShooterPlayerController_::bIsAdmin,
                 host::BitFieldInfo{static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, Flags)), 0, 1});
  host::Register(AController_::PlayerState, static_cast<std::ptrdiff_t>(offsetof(SimPlayerController, PlayerState)));
  host::Register(APlayerController_::ClientMessage, &ControllerClientMessage);
  host::Register(RCONClientConnection_::SendMessage, &RconSendMessage);
  RegisterClassFunctions();
  Companions::RegisterGame();
  RegisterGameModel();
}

// --- plugin ------------------------------------------------------------------
void Server::LoadPlugin(const std::string& path) {
  if (PluginLoaded()) throw std::logic_error("plugin already loaded");
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw std::runtime_error(std::string("cannot load plugin: ") + ::dlerror());
  plugin_ = std::shared_ptr<void>(handle, [](void* h) { ::dlclose(h); });
  auto init = reinterpret_cast<void (*)()>(::dlsym(handle, "Plugin_Init"));
  if (init == nullptr) throw std::runtime_error("plugin has no Plugin_Init");
  init();
}

void Server::UnloadPlugin() {
  if (!PluginLoaded()) return;
  auto unload = reinterpret_cast<void (*)()>(::dlsym(plugin_.get(), "Plugin_Unload"));
  if (unload != nullptr) unload();
  {
    // Work queued for the plugin (HTTP completions) must not outlive it.
    std::lock_guard lock(queueMutex_);
    gameThreadQueue_.clear();
  }
  plugin_.reset();
}

void Server::BeginPlay() { Game::AShooterGameMode_::BeginPlay(reinterpret_cast<AShooterGameMode*>(gameMode_.get())); }

void Server::MarkReady() { ready_ = true; }

// --- game loop ---------------------------------------------------------------
void Server::PostToGameThread(std::function<void()> work) {
  std::lock_guard lock(queueMutex_);
  gameThreadQueue_.push_back(std::move(work));
}

void Server::RunGameThreadQueue() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard lock(queueMutex_);
    work.swap(gameThreadQueue_);
  }
  for (auto& item : work) item();
}

void Server::Tick(float deltaSeconds) {
  RunGameThreadQueue();
  world_->TimeSeconds += deltaSeconds;
  host::CommandRegistry::Get().RunTick(deltaSeconds);
  secondFraction_ += deltaSeconds;
  while (secondFraction_ >= 0.999f) {
    secondFraction_ -= 1.0f;
    host::CommandRegistry::Get().RunTimers();
  }
}

void Server::Ticks(int count) {
  for (int i = 0; i < count; ++i) Tick();
}

void Server::RunSeconds(int seconds) {
  for (int s = 0; s < seconds; ++s) {
    host::AdvanceClock(1);
    Ticks(10);
  }
}

void Server::AdvanceClock(int64_t seconds) { host::AdvanceClock(seconds); }

// --- players -----------------------------------------------------------------
SimPlayer& Server::JoinPlayer(const PlayerSpec& spec) {
  const std::string key = Lower(spec.EosId);
  if (players_.count(key) > 0) throw std::logic_error("player already online: " + spec.EosId);
  SimPlayer player;
  player.Controller = NewObject<SimPlayerController>();
  player.State = NewObject<SimPlayerState>();
  player.Character = NewObject<SimCharacter>();
  player.Controller->EosId = FString::FromUtf8(spec.EosId);
  player.Controller->LinkedPlayerId = spec.LinkedPlayerId;
  player.Controller->CharacterName = FString::FromUtf8(spec.CharacterName);
  player.Controller->Flags = spec.Admin ? 1u : 0u;
  player.Controller->PlayerState = reinterpret_cast<APlayerState*>(player.State.get());
  player.Controller->TargetingTeam = spec.TribeId;
  player.Character->Inventory = model_->Items.NewInventory();
  player.State->TribeName = FString::FromUtf8(spec.TribeName);
  player.State->TribeId = spec.TribeId;
  player.State->CharacterLevel = spec.Level;
  SimPlayer& stored = players_[key] = std::move(player);

  auto* gameMode = reinterpret_cast<AShooterGameMode*>(gameMode_.get());
  auto* controller = reinterpret_cast<APlayerController*>(stored.Controller.get());
  Game::AShooterGameMode_::PostLogin(gameMode, controller);
  Game::AShooterCharacter_::PossessedBy(reinterpret_cast<AShooterCharacter*>(stored.Character.get()),
                                        reinterpret_cast<AController*>(controller));
  return stored;
}

void Server::LeavePlayer(const std::string& eosId) {
  auto it = players_.find(Lower(eosId));
  if (it == players_.end()) return;
  Game::AShooterGameMode_::Logout(reinterpret_cast<AShooterGameMode*>(gameMode_.get()),
                                  reinterpret_cast<AController*>(it->second.Controller.get()));
  companions_->Mod().PlayerLeft(it->second.Character.get());
  players_.erase(it);  // the objects go, and weak pointers to them resolve to null
}

SimPlayer* Server::FindPlayer(const std::string& eosId) {
  auto it = players_.find(Lower(eosId));
  return it == players_.end() ? nullptr : &it->second;
}

const std::vector<ReceivedMessage>& Server::MessagesOf(const std::string& eosId) { return messages_[Lower(eosId)]; }

const std::vector<std::string>& Server::ClientMessagesOf(const std::string& eosId) {
  return clientMessages_[Lower(eosId)];
}

void Server::SetGroups(const std::string& eosId, std::vector<std::string> groups) {
  groups_[Lower(eosId)] = std::move(groups);
}

bool Server::IsPlayerInGroup(const std::string& eosId, const std::string& group) const {
  auto it = groups_.find(Lower(eosId));
  if (it == groups_.end()) return false;
  return std::find(it->second.begin(), it->second.end(), group) != it->second.end();
}

void Server::RecordMessage(AShooterPlayerController* player, const std::string& sender, const std::string& text) {
  if (player == nullptr) return;
  messages_[Lower(AsSim(player)->EosId.ToUtf8())].push_back({sender, text});
}

void Server::RecordClientMessage(APlayerController* player, const std::string& text) {
  if (player == nullptr) return;
  clientMessages_[Lower(AsSim(player)->EosId.ToUtf8())].push_back(text);
}

// --- commands ----------------------------------------------------------------
bool Server::Console(const std::string& eosIdOrEmpty, const std::string& command) {
  SimPlayer* player = eosIdOrEmpty.empty() ? nullptr : FindPlayer(eosIdOrEmpty);
  auto* controller = player == nullptr ? nullptr : reinterpret_cast<APlayerController*>(player->Controller.get());
  return host::CommandRegistry::Get().DispatchConsole(controller, FString::FromUtf8(command), true);
}

bool Server::Chat(const std::string& eosId, const std::string& message) {
  SimPlayer* player = FindPlayer(eosId);
  if (player == nullptr) return false;
  return host::CommandRegistry::Get().DispatchChat(player->AsController(), FString::FromUtf8(message), 0);
}

// --- RCON and HTTP -------------------------------------------------------------
uint16_t Server::RconPort() const { return rcon_->Port(); }

void Server::SendRcon(uint64_t connectionId, int32_t id, int32_t type, const std::string& body) {
  rcon_->Send(connectionId, id, type, body);
}

ClientMod& Server::Mod() { return companions_->Mod(); }
WorldExtras& Server::Extras() { return companions_->Extras(); }
VersionService& Server::Version() { return companions_->Version(); }
DiscordReceiver& Server::Discord() { return companions_->Discord(); }
uint16_t Server::PagePort() const { return companions_->Page() == nullptr ? 0 : companions_->Page()->Port(); }

void Server::RouteHost(const std::string& host, const std::string& address) { http_->Route(host, address); }

// --- logs --------------------------------------------------------------------
std::vector<std::string> Server::LogLines() const { return capture_->Lines(); }

bool Server::LogContains(const std::string& text) const { return CountLog(text) > 0; }

std::size_t Server::CountLog(const std::string& text) const {
  std::size_t count = 0;
  for (const std::string& line : capture_->Lines())
    if (line.find(text) != std::string::npos) ++count;
  return count;
}

void Server::ClearRecords() {
  messages_.clear();
  clientMessages_.clear();
  capture_->Clear();
}

std::vector<std::string> Server::HostErrors() const {
  std::lock_guard lock(g_hostErrorsMutex);
  return g_hostErrors;
}

}  // namespace sim
