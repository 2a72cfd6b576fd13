#pragma once
#include "AsaApi/FName.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/TArray.h"

namespace Game::AActor_ {
inline const GameField<TArray<FName>> Tags{"AActor.Tags"};
// Destroys any actor (creatures included); the flags are bNetForce, bShouldModifyLevel.
inline const GameFunction<bool(AActor*, bool, bool)> Destroy{"AActor.Destroy(bool,bool)"};
}  // namespace Game::AActor_
