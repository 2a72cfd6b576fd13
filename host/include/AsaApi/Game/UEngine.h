#pragma once
#include "AsaApi/Game/Classes.h"

struct UEngine : UObject {};

namespace Game::Global_ {
// The address of the game's engine pointer (itself null before the engine exists).
inline const GameData<UEngine*> GEngine{"Global.GEngine"};
}
namespace Game::UEngine_ {
// The game's UPrimalGlobals object.
inline const GameField<UObject*> GameSingleton{"UEngine.GameSingleton"};
}
