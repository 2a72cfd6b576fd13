#pragma once
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/UFunction.h"

namespace Game::AActor_ {
// Calls a blueprint event with its parameter block (the event may write into it).
inline const GameFunction<void(AActor*, UFunction*, void*)> ProcessEvent{"AActor.ProcessEvent(UFunction*,void*)"};
}  // namespace Game::AActor_
