#pragma once
// The mod's global actor and player buff, and the calls of their events.
#include <cstddef>
#include <cstdint>

#include "AsaApi/Game/APrimalBuff.h"
#include "AsaApi/Game/UFunction.h"

struct AShooterPlayerController;

namespace ModComm {

// The buff events, in the order they are looked up.
enum class BuffEvent : int32_t {
  OpenShop,
  Category,
  UpdatePoints,
  InitTrade,
  InitSell,
  InitRedeem,
  UpdateRedeem,
  InitLogBuy,
  InitLogTrade,
  Count
};
const char* BuffEventName(BuffEvent event);

bool EnsureGlobalActor();
bool EnsureBuffEvents();
APrimalBuff* GetPlayerBuff(AShooterPlayerController* controller);

// Calls event on object with a block of size bytes (the event may write into it).
// A block never goes out smaller than the event's parameter size: when the two
// differ a zeroed block of the larger size is sent instead, with a warning.
void CallEvent(UObject* object, UFunction* event, void* block, std::size_t size);

// False when the buff events are unknown ("Buff is not valid." is logged); true
// otherwise, also when the player has no character or buff (nothing is sent then).
bool SendBlockToPlayerBuff(AShooterPlayerController* controller, BuffEvent event, void* block, std::size_t size);
template <typename Block>
bool SendToPlayerBuff(AShooterPlayerController* controller, BuffEvent event, Block& block) {
  return SendBlockToPlayerBuff(controller, event, &block, sizeof(Block));
}

// The server's game time in whole seconds, or -1 without the global actor.
int32_t GetServerGameTime();
// Calls a_setglobalsettings; false without the global actor.
bool CallGlobalSettings(void* block, std::size_t size);

// Forgets every cached handle (unload).
void ResetModHandles();

}  // namespace ModComm
