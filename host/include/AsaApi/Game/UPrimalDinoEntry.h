#pragma once
#include "AsaApi/FName.h"
#include "AsaApi/Game/Classes.h"

struct UPrimalDinoEntry : UObject {};

namespace Game::UPrimalDinoEntry_ {
inline const GameField<FName> DinoNameTag{"UPrimalDinoEntry.DinoNameTag"};
}
