#include "sim/server/GameServer.h"

#include <dlfcn.h>

#include <filesystem>
#include <set>
#include <thread>
#include <stdexcept>

#include "AsaApi/Game/AShooterGameMode.h"
#include "AsaApi/Host.h"
#include "AsaApi/Logging.h"
#include "FrameworkServices.h"
#include "HttpRequests.h"
#include "PluginThreads.h"
#include "sim/engine/EngineRuntime.h"
#include "sim/server/RconServer.h"
#include "sim/world/GameModel.h"
#include "sim/world/WorldExtras.h"

namespace sim {

GameServer::GameServer(ServerOptions options) : options_(std::move(options)) {
  InstallEngineRuntime();
  RegisterGame();

  InstallLogs();

  gameMode_ = NewObject<SimGameMode>();
  gameMode_->ServerId = options_.ServerId;
  world_ = NewObject<SimWorld>();
  world_->MapName = FString::FromUtf8(options_.MapName);
  model_ = std::make_unique<GameModel>();
  world_->GameState = model_->Data.GameState();
  extras_ = std::make_unique<WorldExtras>(options_.SessionName);

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
  pluginThreads_ = std::make_unique<PluginThreads>();
}

void GameServer::Stop() {
  if (PluginLoaded()) UnloadPlugin();
  rcon_.reset();
  http_.reset();  // joins the request threads
}

GameServer::~GameServer() {
  Stop();
  content_ = nullptr;
  {
    std::lock_guard lock(queueMutex_);
    gameThreadQueue_.clear();
  }
  host::InstallRequests(nullptr);
  host::InstallApiUtils(nullptr);
  host::SetHostErrorHandler(nullptr);
  players_.clear();
  extras_.reset();
  model_.reset();
  world_.reset();
  gameMode_.reset();
  GetLogSinks().clear();
  UnregisterGame();
}

// --- plugin ------------------------------------------------------------------
void GameServer::LoadPlugin(const std::string& path) {
  if (PluginLoaded()) throw std::logic_error("plugin already loaded");
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw std::runtime_error(std::string("cannot load plugin: ") + ::dlerror());
  plugin_ = std::shared_ptr<void>(handle, [](void* h) { ::dlclose(h); });
  auto init = reinterpret_cast<void (*)()>(::dlsym(handle, "Plugin_Init"));
  if (init == nullptr) throw std::runtime_error("plugin has no Plugin_Init");
  const std::set<pid_t> before = PluginThreads::Current();
  init();
  pluginThreads_->WatchNew(before);
}

void GameServer::UnloadPlugin() {
  if (!PluginLoaded()) return;
  auto unload = reinterpret_cast<void (*)()>(::dlsym(plugin_.get(), "Plugin_Unload"));
  if (unload != nullptr) unload();
  {
    // Work queued for the plugin (HTTP completions) must not outlive it.
    std::lock_guard lock(queueMutex_);
    gameThreadQueue_.clear();
  }
  plugin_.reset();
  pluginThreads_->Forget();
}

void GameServer::BeginPlay() {
  const std::set<pid_t> before = PluginThreads::Current();
  Game::AShooterGameMode_::BeginPlay(reinterpret_cast<AShooterGameMode*>(gameMode_.get()));
  pluginThreads_->WatchNew(before);
}

void GameServer::MarkReady() { ready_ = true; }

// --- game loop ---------------------------------------------------------------
void GameServer::PostToGameThread(std::function<void()> work) {
  std::lock_guard lock(queueMutex_);
  gameThreadQueue_.push_back(std::move(work));
}

void GameServer::RunGameThreadQueue() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard lock(queueMutex_);
    work.swap(gameThreadQueue_);
  }
  for (auto& item : work) item();
}

void GameServer::Tick(float deltaSeconds) {
  RunGameThreadQueue();
  world_->TimeSeconds += deltaSeconds;
  host::CommandRegistry::Get().RunTick(deltaSeconds);
  secondFraction_ += deltaSeconds;
  while (secondFraction_ >= 0.999f) {
    secondFraction_ -= 1.0f;
    host::CommandRegistry::Get().RunTimers();
  }
}

void GameServer::Ticks(int count) {
  for (int i = 0; i < count; ++i) Tick();
}

void GameServer::RunSeconds(int seconds) {
  for (int s = 0; s < seconds; ++s) {
    host::AdvanceClock(1);
    Ticks(10);
  }
}

void GameServer::AdvanceClock(int64_t seconds) { host::AdvanceClock(seconds); }

bool GameServer::SettlePlugin(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!pluginThreads_->AllWaiting() || (http_ != nullptr && http_->InFlight() > 0)) {
    if (std::chrono::steady_clock::now() > deadline) {
      pluginThreads_->ForgetBusy();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// --- commands ----------------------------------------------------------------
bool GameServer::Console(const std::string& eosIdOrEmpty, const std::string& command) {
  SimPlayer* player = eosIdOrEmpty.empty() ? nullptr : FindPlayer(eosIdOrEmpty);
  auto* controller = player == nullptr ? nullptr : reinterpret_cast<APlayerController*>(player->Controller.get());
  return host::CommandRegistry::Get().DispatchConsole(controller, FString::FromUtf8(command), true);
}

bool GameServer::Chat(const std::string& eosId, const std::string& message) {
  SimPlayer* player = FindPlayer(eosId);
  if (player == nullptr) return false;
  return host::CommandRegistry::Get().DispatchChat(player->AsController(), FString::FromUtf8(message), 0);
}

// --- RCON and HTTP -------------------------------------------------------------
uint16_t GameServer::RconPort() const { return rcon_ == nullptr ? 0 : rcon_->Port(); }

void GameServer::SendRcon(uint64_t connectionId, int32_t id, int32_t type, const std::string& body) {
  if (rcon_ != nullptr) rcon_->Send(connectionId, id, type, body);
}

void GameServer::RouteHost(const std::string& host, const std::string& address) { http_->Route(host, address); }

}  // namespace sim
