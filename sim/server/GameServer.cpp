#include "sim/server/Server.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>

#include "AsaApi/Game/AShooterGameMode.h"
#include "AsaApi/Host.h"
#include "AsaApi/Logging.h"
#include "FrameworkServices.h"
#include "HttpRequests.h"
#include "sim/server/RconServer.h"
#include "sim/companions/Companions.h"
#include "sim/engine/EngineRuntime.h"
#include "sim/page/ShopPage.h"
#include "sim/world/GameModel.h"

namespace sim {
namespace {

Server* g_current = nullptr;

}  // namespace

Server* Server::Current() { return g_current; }

Server::Server(ServerOptions options) : options_(std::move(options)) {
  if (g_current != nullptr) throw std::logic_error("one simulated server at a time");
  g_current = this;
  InstallEngineRuntime();
  RegisterGame();

  InstallLogs();

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

}  // namespace sim
