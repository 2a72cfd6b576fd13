#pragma once
#include "AsaApi/Game/UPrimalGameData.h"

struct UPrimalGlobals : UObject {};

namespace Game::UPrimalGlobals_ {
inline const GameField<UPrimalGameData*> PrimalGameData{"UPrimalGlobals.PrimalGameData"};
inline const GameField<UPrimalGameData*> PrimalGameDataOverride{"UPrimalGlobals.PrimalGameDataOverride"};
}  // namespace Game::UPrimalGlobals_
