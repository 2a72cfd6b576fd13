#include "sim/world/PlayerCharacters.h"

#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "sim/world/GameModel.h"
#include "sim/engine/Reflection.h"
#include "sim/server/Server.h"

namespace sim {
namespace {

AShooterCharacter* PlayerCharacter(AShooterPlayerController* controller) {
  if (controller == nullptr) return nullptr;
  return reinterpret_cast<AShooterCharacter*>(reinterpret_cast<SimPlayerController*>(controller)->Character);
}

bool DeadOrDying(APrimalCharacter* character) {
  Server* server = Server::Current();
  return server != nullptr && server->Model().Characters.IsDeadOrDying(reinterpret_cast<SimCharacter*>(character));
}

}  // namespace

void RegisterPlayerCharacterFunctions() {
  host::Register(Game::AShooterPlayerController_::GetPlayerCharacter, &PlayerCharacter);
  host::Register(Game::APrimalCharacter_::IsDeadOrDying, &DeadOrDying);
}

}  // namespace sim
