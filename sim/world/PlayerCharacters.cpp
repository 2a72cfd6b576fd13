#include "sim/world/PlayerCharacters.h"

#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "sim/world/GameModel.h"
#include "sim/engine/Reflection.h"
#include "sim/world/HostedFunctions.h"

namespace sim {
namespace {

AShooterCharacter* PlayerCharacter(AShooterPlayerController* controller) {
  if (controller == nullptr) return nullptr;
  return reinterpret_cast<AShooterCharacter*>(reinterpret_cast<SimPlayerController*>(controller)->Character);
}

}  // namespace

bool hosted::DeadOrDying(GameHost& game, APrimalCharacter* character) {
  return game.Model().Characters.IsDeadOrDying(reinterpret_cast<SimCharacter*>(character));
}

void RegisterPlayerCharacterFunctions() {
  host::Register(Game::AShooterPlayerController_::GetPlayerCharacter, &PlayerCharacter);
}

}  // namespace sim
