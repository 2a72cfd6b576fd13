#pragma once
#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/WeakObjectPtr.h"

struct AGameStateBase;

namespace Game::UWorld_ {
inline const GameFunction<FString*(UWorld*, FString*)> GetMapName{"UWorld.GetMapName()"};
inline const GameField<TArray<TWeakObjectPtr<APlayerController>>> PlayerControllerList{"UWorld.PlayerControllerList"};
inline const GameField<AGameStateBase*> GameState{"UWorld.GameState"};
inline const GameField<double> TimeSeconds{"UWorld.TimeSeconds"};
}  // namespace Game::UWorld_

struct UWorld : UObject {
  FString GetMapName() {
    FString name;
    Game::UWorld_::GetMapName(this, &name);
    return name;
  }
  TArray<TWeakObjectPtr<APlayerController>>& PlayerControllerListField() {
    return Game::UWorld_::PlayerControllerList.Of(this);
  }
};
