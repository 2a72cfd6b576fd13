#include "testsupport/ServerFixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "AsaApi/Host.h"

#include "testsupport/Database.h"
#include "testsupport/RconClient.h"

namespace testsupport {

nlohmann::json MinimalConfig(const std::string& tablePrefix) {
  return {{"Mysql", MysqlSection(tablePrefix)},
          {"General", {{"ShopName", "Test Shop"}, {"ShopKey", "F3"}, {"RewardIntervalMinutes", 10}}}};
}

ServerFixture::ServerFixture(sim::ServerOptions options) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tandorshop-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary directory");
  dir_ = pattern;
  options.ServerDir = dir_;
  server_ = std::make_unique<sim::Server>(options);
}

ServerFixture::~ServerFixture() {
  server_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ServerFixture::ConfigPath() const { return dir_ + "/ArkApi/Plugins/TandorShop/config.json"; }

void ServerFixture::WriteConfig(const nlohmann::json& config) { WriteRawConfig(config.dump(2)); }

void ServerFixture::WriteRawConfig(const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(ConfigPath()).parent_path());
  std::ofstream(ConfigPath()) << text;
}

void ServerFixture::LoadAtStartup() { server_->LoadPlugin(); }

void ServerFixture::LoadIntoRunningServer() {
  server_->BeginPlay();
  server_->LoadPlugin();
}

std::optional<std::string> ServerFixture::Rcon(const std::string& command) {
  RconClient client("127.0.0.1", server_->RconPort());
  auto pump = [this] { server_->Tick(); };
  if (!client.Authenticate(server_->RconPassword(), pump)) return std::nullopt;
  return client.Execute(command, pump);
}

}  // namespace testsupport

namespace testsupport {

bool ServerFixture::TickUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    server_->Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

bool ServerFixture::ShopOpen() { return host::CommandRegistry::Get().HasTickCallback(FString("tan_shp")); }

bool ServerFixture::LoadAndOpenShop() {
  LoadIntoRunningServer();
  return TickUntil([this] { return ShopOpen(); });
}

}  // namespace testsupport
