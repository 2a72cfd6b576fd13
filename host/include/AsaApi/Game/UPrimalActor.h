#pragma once
// Fields the game keeps on every actor of its own (controllers and creatures alike).
#include "AsaApi/Game/Classes.h"

namespace Game::UPrimalActor_ {
inline const GameField<int32_t> TargetingTeam{"UPrimalActor.TargetingTeam"};
}
