#pragma once
#include "AsaApi/Game/APrimalBuff.h"
#include "AsaApi/Game/Classes.h"

namespace Game::APrimalCharacter_ {
// The character's buff of that class (or of a class derived from it), or null.
inline const GameFunction<APrimalBuff*(APrimalCharacter*, UClass*)> GetBuff{
    "APrimalCharacter.GetBuff(TSubclassOf<APrimalBuff>)"};
}  // namespace Game::APrimalCharacter_
