#pragma once
#include "AsaApi/Game/Classes.h"

namespace Game::AShooterCharacter_ {
inline const GameFunction<void(AShooterCharacter*, AController*)> PossessedBy{
    "AShooterCharacter.PossessedBy(AController*)"};
}

struct AShooterCharacter : APrimalCharacter {
  void PossessedBy(AController* controller) { Game::AShooterCharacter_::PossessedBy(this, controller); }
};
