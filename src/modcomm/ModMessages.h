#pragma once
// The mod's requests: the message table and the detour on the buff's
// network-execution function.
#include <cstdint>

#include "AsaApi/FName.h"
#include "AsaApi/Game/APrimalBuff.h"
#include "core/StateSize.h"

namespace ModComm {

enum class ModMessage : int32_t {
  OpenShop,
  Category,
  Buy,
  SellList,
  Sell,
  RedeemList,
  Redeem,
  TradeTargets,
  Trade,
  ShopLog,
  TradeLog,
  Count
};

// Builds the message names (mod channel start).
void BuildMessageNames();
// The hooked function's name.
const char* NetExecFunctionName();

bool ModMessageDetour(APrimalBuff* object, AShooterPlayerController* sender, FName message, FBPNetExecParams* params);
// The game's own function, kept by the hook.
extern decltype(Game::APrimalBuff_::BPNetExec)::Pointer g_netExecOriginal;

// True when the request of this kind from sender passes its throttle.
bool AcceptRequest(ModMessage message, AShooterPlayerController* sender);
// The throttle of one kind of request, and of all eleven.
TandorShop::StateSize ThrottleSize(ModMessage message);
TandorShop::StateSize ThrottleSize();
// Forgets throttles and names (unload).
void ForgetMessages();

}  // namespace ModComm
