#pragma once
#include "AsaApi/Game/Classes.h"
#include "AsaApi/TArray.h"

namespace Game::UGameplayStatics_ {
// A static game function: (world context, class, out list of actors).
inline const GameFunction<void(UObject*, UClass*, TArray<AActor*>*)> GetAllActorsOfClass{
    "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,TSizedDefaultAllocator<32>>&)"};
}  // namespace Game::UGameplayStatics_
