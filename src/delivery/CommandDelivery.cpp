// Console commands run as the buying player, with administrator rights for the
// duration of the call when the variant asks for them.
#include <exception>

#include "AsaApi/Game/APrimalPlayerController.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UPrimalActor.h"
#include "core/Log.h"
#include "delivery/CommandText.h"
#include "delivery/DeliveryHelper.h"
#include "delivery/DeliveryMath.h"

namespace DeliveryHelper {
namespace {

// Raises the administrator bit for its lifetime when it was not set; restores
// it on every way out.
class AdminRaise {
 public:
  AdminRaise(AShooterPlayerController* player, bool wanted) : player_(player) {
    if (wanted && !Game::APrimalPlayerController_::bIsAdmin.Of(player_)) {
      Game::APrimalPlayerController_::bIsAdmin.Set(player_, true);
      raised_ = true;
    }
  }
  ~AdminRaise() {
    if (raised_) Game::APrimalPlayerController_::bIsAdmin.Set(player_, false);
  }
  AdminRaise(const AdminRaise&) = delete;
  AdminRaise& operator=(const AdminRaise&) = delete;

 private:
  AShooterPlayerController* player_;
  bool raised_ = false;
};

bool IssueCommand(AShooterPlayerController* player, const ConfigHelper::ConfigCommandVariant& variant) {
  AdminRaise admin(player, variant.AsAdmin);
  const std::string eosId = player->GetUniqueNetIdAsString().ToUtf8();
  const int32_t tribeId = Game::UPrimalActor_::TargetingTeam.Of(player);
  const uint64_t playerId = Game::AShooterPlayerController_::LinkedPlayerID.Of(player);
  const std::optional<std::string> text = FormatCommandText(variant.Command.ToUtf8(), tribeId, playerId, eosId);
  if (!text) return false;
  FString command = FString::FromUtf8(*text);
  FString reply;
  Game::AShooterPlayerController_::ConsoleCommand(player, &reply, &command, true);
  return true;
}

}  // namespace

bool DeliverCommandVariant(AShooterPlayerController* player, int32_t& priceTotal,
                           const ConfigHelper::ConfigCommand* command,
                           const ConfigHelper::ConfigCommandVariant* variant) {
  if (player == nullptr || command == nullptr || variant == nullptr) return false;
  try {
    if (!IssueCommand(player, *variant)) return false;
  } catch (const std::exception& error) {
    TandorShop::Log().error("Command delivery failed: {}", error.what());
    return false;
  }
  priceTotal = AddPrice(priceTotal, variant->PriceIncrease);
  return true;
}

}  // namespace DeliveryHelper
