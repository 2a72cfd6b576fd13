#pragma once
// The framework's services as the simulated server provides them: the API
// utilities (world, game mode, status, players by EOS id) and the messaging
// manager that sends server messages to players.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "AsaApi/ApiUtils.h"

namespace sim {

class GameServer;

class ApiUtilsImpl final : public AsaApi::IApiUtils {
 public:
  explicit ApiUtilsImpl(GameServer& server) : server_(server) {}
  UWorld* GetWorld() override;
  AShooterGameMode* GetShooterGameMode() override;
  AsaApi::ServerStatus GetStatus() override;
  AShooterPlayerController* FindPlayerFromEOSID(const FString& eosId) override;
  std::shared_ptr<AsaApi::IMessagingManager> GetMessagingManager(const std::string& modulePath) override;

 private:
  GameServer& server_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<AsaApi::IMessagingManager>> messaging_;
};

}  // namespace sim
