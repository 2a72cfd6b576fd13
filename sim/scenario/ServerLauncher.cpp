#include "sim/scenario/ServerLauncher.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "AsaApi/Host.h"
#include "sim/companions/ClientMod.h"
#include "sim/world/ConfiguredGame.h"
#include "sim/companions/WebServices.h"

namespace sim {
namespace {

nlohmann::json ReadConfig(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  return nlohmann::json::parse(in);
}

// The "Mysql" section from the private database's settings, when the scripts
// said where it is.
void UseDatabaseFromEnvironment(nlohmann::json& mysql) {
  const char* host = std::getenv("TANDORSHOP_DB_HOST");
  if (host == nullptr) return;
  mysql["server"] = host;
  if (const char* port = std::getenv("TANDORSHOP_DB_PORT")) mysql["port"] = std::stoi(port);
  if (const char* user = std::getenv("TANDORSHOP_DB_USER")) mysql["username"] = user;
  if (const char* password = std::getenv("TANDORSHOP_DB_PASSWORD")) mysql["password"] = password;
  if (const char* database = std::getenv("TANDORSHOP_DB_NAME")) mysql["database"] = database;
}

void PointWebhooksAt(nlohmann::json& discordLog, const std::string& address) {
  const std::string from = std::string("://") + DefaultDiscordAddress + "/";
  const std::string to = "://" + address + "/";
  if (!discordLog.is_object() || from == to) return;
  for (auto& [kind, entry] : discordLog.items()) {
    if (!entry.is_object() || !entry.contains("webhook") || !entry["webhook"].is_string()) continue;
    std::string url = entry["webhook"];
    if (const auto at = url.find(from); at != std::string::npos) entry["webhook"] = url.replace(at, from.size(), to);
  }
}

}  // namespace

ServerLauncher::ServerLauncher(LaunchSettings settings) : settings_(std::move(settings)) {}

ServerLauncher::~ServerLauncher() { Stop(); }

void ServerLauncher::Start() {
  if (Running()) return;
  if (config_.is_null()) config_ = ReadConfig(settings_.ConfigFile);
  const nlohmann::json& config = config_;
  const std::string cryopod = config.value("General", nlohmann::json::object()).value("CryoPodOverride", "");
  cryopodPath_ = cryopod.empty() ? GameCryopodPath : cryopod;
  ServerOptions options = settings_.Server;
  std::string commandLine = "ArkAscendedServer.exe " + options.MapName + "?listen";
  if (!settings_.ServerKey.empty()) commandLine += " -serverkey=" + settings_.ServerKey;
  options.CommandLine = std::u16string(commandLine.begin(), commandLine.end());
  server_ = std::make_unique<Server>(options);
  host::AdvanceClock(advancedSeconds_);
  if (gameTime_ >= 0) server_->Mod().SetGameTime(gameTime_);
  server_->Version().SetVersions(settings_.Version, settings_.MinVersion);
  AddConfiguredGame(config, *server_);
  InstallConfig(config);
  if (settings_.LateLoad) server_->BeginPlay();
  server_->LoadPlugin(settings_.PluginPath);
  if (!settings_.LateLoad) server_->BeginPlay();
}

void ServerLauncher::Stop() {
  if (!Running()) return;
  gameTime_ = server_->Mod().GameTime();
  server_->UnloadPlugin();
  server_.reset();
}

void ServerLauncher::Restart() {
  Stop();
  Start();
}

void ServerLauncher::InstallConfig(const nlohmann::json& original) {
  nlohmann::json config = original;
  UseDatabaseFromEnvironment(config["Mysql"]);
  if (!settings_.TablePrefix.empty()) config["Mysql"]["tablePrefix"] = settings_.TablePrefix;
  if (config.contains("DiscordLog")) PointWebhooksAt(config["DiscordLog"], server_->Discord().Address());
  const std::filesystem::path folder = PluginFolder();
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "config.json") << config.dump(2);
  installed_ = std::move(config);
}

std::string ServerLauncher::PluginFolder() const {
  return (std::filesystem::path(settings_.Server.ServerDir) / "ArkApi" / "Plugins" / "TandorShop").string();
}

std::string ServerLauncher::TablePrefix() const {
  const auto mysql = installed_.find("Mysql");
  if (mysql == installed_.end() || !mysql->is_object()) return {};
  return mysql->value("tablePrefix", std::string());
}

void ServerLauncher::EditConfig(const std::function<void(nlohmann::json&)>& edit) {
  if (config_.is_null()) config_ = ReadConfig(settings_.ConfigFile);
  nlohmann::json edited = config_;
  edit(edited);
  config_ = std::move(edited);
  if (Running()) InstallConfig(config_);
}

void ServerLauncher::Advance(int64_t seconds) {
  ClientMod& mod = server_->Mod();
  for (int64_t s = 0; s < seconds; ++s) {
    server_->SettlePlugin();
    host::AdvanceClock(1);
    ++advancedSeconds_;
    mod.SetGameTime(mod.GameTime() + 1.0);
    server_->Tick(1.0f);
  }
}

bool ServerLauncher::ShopOpen() const {
  return host::CommandRegistry::Get().HasTickCallback(FString("tan_shp"));
}

bool ServerLauncher::WaitForShop(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!ShopOpen()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    server_->Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace sim
