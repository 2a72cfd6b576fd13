#pragma once
#include "AsaApi/Game/Classes.h"

struct AGameStateBase : AInfo {};
struct AShooterGameState : AGameStateBase {};

namespace Game::AShooterGameState_ {
inline const GameField<int32_t> NumTamedDinos{"AShooterGameState.NumTamedDinos"};
}
