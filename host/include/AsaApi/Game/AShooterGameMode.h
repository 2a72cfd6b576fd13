#pragma once
#include "AsaApi/Game/Classes.h"

namespace Game::AShooterGameMode_ {
inline const GameFunction<void(AShooterGameMode*)> BeginPlay{"AShooterGameMode.BeginPlay()"};
inline const GameFunction<void(AShooterGameMode*, APlayerController*)> PostLogin{
    "AShooterGameMode.PostLogin(APlayerController*)"};
inline const GameFunction<void(AShooterGameMode*, AController*)> Logout{"AShooterGameMode.Logout(AController*)"};
inline const GameField<int32_t> ServerID{"AShooterGameMode.ServerID"};
}  // namespace Game::AShooterGameMode_

struct AShooterGameMode : AGameMode {
  void BeginPlay() { Game::AShooterGameMode_::BeginPlay(this); }
  void PostLogin(APlayerController* player) { Game::AShooterGameMode_::PostLogin(this, player); }
  void Logout(AController* exiting) { Game::AShooterGameMode_::Logout(this, exiting); }
  int32_t& ServerIDField() { return Game::AShooterGameMode_::ServerID.Of(this); }
};
