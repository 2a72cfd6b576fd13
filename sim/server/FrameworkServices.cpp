#include "FrameworkServices.h"

#include "sim/server/GameServer.h"

namespace sim {
namespace {

class Messaging final : public AsaApi::IMessagingManager {
 public:
  Messaging(GameServer& server, std::string module) : server_(server), module_(std::move(module)) {}
  void SendServerMessage(AShooterPlayerController* player, const FString& sender, const FString& message) override {
    server_.RecordMessage(player, sender.ToUtf8(), message.ToUtf8());
  }

 private:
  GameServer& server_;
  std::string module_;
};

}  // namespace

UWorld* ApiUtilsImpl::GetWorld() { return reinterpret_cast<UWorld*>(server_.World()); }

AShooterGameMode* ApiUtilsImpl::GetShooterGameMode() { return reinterpret_cast<AShooterGameMode*>(server_.GameMode()); }

AsaApi::ServerStatus ApiUtilsImpl::GetStatus() {
  return server_.Ready() ? AsaApi::ServerStatus::Ready : AsaApi::ServerStatus::Loading;
}

AShooterPlayerController* ApiUtilsImpl::FindPlayerFromEOSID(const FString& eosId) {
  SimPlayer* player = server_.FindPlayer(eosId.ToUtf8());
  return player == nullptr ? nullptr : player->AsController();
}

std::shared_ptr<AsaApi::IMessagingManager> ApiUtilsImpl::GetMessagingManager(const std::string& modulePath) {
  std::lock_guard lock(mutex_);
  auto& messaging = messaging_[modulePath];
  if (!messaging) messaging = std::make_shared<Messaging>(server_, modulePath);
  return messaging;
}

}  // namespace sim
