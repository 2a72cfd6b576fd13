#pragma once
#include "AsaApi/FName.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/UFunction.h"
#include "AsaApi/TArray.h"

namespace Game::AActor_ {
inline const GameField<TArray<FName>> Tags{"AActor.Tags"};
// Destroys any actor (creatures included); the flags are bNetForce, bShouldModifyLevel.
inline const GameFunction<bool(AActor*, bool, bool)> Destroy{"AActor.Destroy(bool,bool)"};
// Calls a blueprint event with its parameter block (the event may write into it).
inline const GameFunction<void(AActor*, UFunction*, void*)> ProcessEvent{"AActor.ProcessEvent(UFunction*,void*)"};
}  // namespace Game::AActor_
