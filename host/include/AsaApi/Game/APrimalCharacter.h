#pragma once
#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"

struct UPrimalInventoryComponent;
struct UPrimalCharacterStatusComponent;

namespace Game::APrimalCharacter_ {
inline const GameField<UPrimalInventoryComponent*> MyInventoryComponent{"APrimalCharacter.MyInventoryComponent"};
inline const GameField<UPrimalCharacterStatusComponent*> MyCharacterStatusComponent{
    "APrimalCharacter.MyCharacterStatusComponent"};
inline const GameField<FString> DescriptiveName{"APrimalCharacter.DescriptiveName"};
}  // namespace Game::APrimalCharacter_
