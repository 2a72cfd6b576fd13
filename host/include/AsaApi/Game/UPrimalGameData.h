#pragma once
#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/TSubclassOf.h"
#include "AsaApi/Game/UPrimalDinoEntry.h"

struct UPrimalGameData : UObject {};

namespace Game::UPrimalGameData_ {
// The class of the creature's entry (its default object carries the entry's
// fields), or null when the game data knows no entry for the creature class.
inline const GameFunction<UClass*(UPrimalGameData*, TSubclassOf<APrimalDinoCharacter>)> GetDinoEntry{
    "UPrimalGameData.GetDinoEntry(TSubclassOf<APrimalDinoCharacter>)"};
}  // namespace Game::UPrimalGameData_
