#pragma once
#include "AsaApi/FString.h"
#include "AsaApi/Game/APrimalBuff.h"
#include "AsaApi/Game/Classes.h"

struct UPrimalInventoryComponent;
struct UPrimalCharacterStatusComponent;

namespace Game::APrimalCharacter_ {
inline const GameField<UPrimalInventoryComponent*> MyInventoryComponent{"APrimalCharacter.MyInventoryComponent"};
inline const GameField<UPrimalCharacterStatusComponent*> MyCharacterStatusComponent{
    "APrimalCharacter.MyCharacterStatusComponent"};
inline const GameField<FString> DescriptiveName{"APrimalCharacter.DescriptiveName"};
// The character's buff of that class (or of a class derived from it), or null.
inline const GameFunction<APrimalBuff*(APrimalCharacter*, UClass*)> GetBuff{
    "APrimalCharacter.GetBuff(TSubclassOf<APrimalBuff>)"};
// True while the character is dead or dying.
inline const GameFunction<bool(APrimalCharacter*)> IsDeadOrDying{"APrimalCharacter.IsDeadOrDying()"};
}  // namespace Game::APrimalCharacter_
