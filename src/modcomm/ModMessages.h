#pragma once
// The mod's requests: the message table and the detour on the buff's
// network-execution function.
#include <cstdint>

#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
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

// One decoded request: the parameters of the network-execution call that the
// message uses (text, first and second number).
struct ModRequest {
  const FString& Text;
  int32_t Int1 = 0;
  int32_t Int2 = 0;
};
// Answers one kind of request; the layer that owns the operation installs it.
using RequestHandler = void (*)(AShooterPlayerController* sender, const ModRequest& request);
// Installs the handler of each kind (null: the request is dropped).
void SetRequestHandler(ModMessage message, RequestHandler handler);

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
