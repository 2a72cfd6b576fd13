#pragma once
#include <cstdint>

#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/FTribeData.h"

namespace Game::AShooterPlayerState_ {
inline const GameField<FTribeData> MyTribeData{"AShooterPlayerState.MyTribeData"};
inline const GameFunction<int32_t(AShooterPlayerState*)> GetCharacterLevel{"AShooterPlayerState.GetCharacterLevel()"};
}  // namespace Game::AShooterPlayerState_

struct AShooterPlayerState : APlayerState {
  FTribeData* MyTribeDataField() { return &Game::AShooterPlayerState_::MyTribeData.Of(this); }
  int32_t GetCharacterLevel() { return Game::AShooterPlayerState_::GetCharacterLevel(this); }
};
