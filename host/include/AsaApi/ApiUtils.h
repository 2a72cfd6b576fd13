#pragma once
// Server utilities the hosting process provides.
#include <memory>
#include <string>

#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"

namespace AsaApi {

enum class ServerStatus : int { Loading = 0, Ready = 1 };

// Sends chat lines to one player on behalf of a plugin.
class IMessagingManager {
 public:
  virtual ~IMessagingManager() = default;
  virtual void SendServerMessage(AShooterPlayerController* player, const FString& senderName,
                                 const FString& message) = 0;
};

class IApiUtils {
 public:
  virtual ~IApiUtils() = default;
  virtual UWorld* GetWorld() = 0;
  virtual AShooterGameMode* GetShooterGameMode() = 0;
  virtual ServerStatus GetStatus() = 0;
  virtual AShooterPlayerController* FindPlayerFromEOSID(const FString& eosId) = 0;
  // The facility of the plugin whose module file is modulePath.
  virtual std::shared_ptr<IMessagingManager> GetMessagingManager(const std::string& modulePath) = 0;
};

IApiUtils& GetApiUtils();

}  // namespace AsaApi
