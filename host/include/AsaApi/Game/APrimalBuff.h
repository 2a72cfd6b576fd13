#pragma once
// Buffs attached to characters. The companion mod's player buff forwards the
// mod's requests to the server through BPNetExec.
#include "AsaApi/FName.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/FBPNetExecParams.h"
#include "AsaApi/Game/TandorShopMod.h"

struct APrimalBuff : AActor {};

namespace Game::APrimalBuff_ {
// The network-execution entry of a buff: (buff, sending player, message name, parameters).
inline const GameFunction<bool(APrimalBuff*, AShooterPlayerController*, FName, FBPNetExecParams*)> BPNetExec{
    TandorShopMod::NetExecFunction};
}  // namespace Game::APrimalBuff_
