#include "modcomm/ModEvents.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Game/AActor.h"
#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/TandorShopMod.h"
#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UGameplayStatics.h"
#include "AsaApi/Memory.h"
#include "AsaApi/WeakObjectPtr.h"
#include "core/Log.h"

namespace ModComm {
namespace {

constexpr std::array<const char*, static_cast<std::size_t>(BuffEvent::Count)> kBuffEventNames = {
    "a_openshop",   "a_cat",          "a_updatepoints",  "a_init_trade",    "a_init_sell",
    "a_init_redeem", "a_update_redeem", "a_init_log_buy", "a_init_log_trade"};

// Cached handles, game thread only.
struct GlobalActorHandles {
  FWeakObjectPtr ActorRef;
  AActor* Actor = nullptr;
  UFunction* SetGlobalSettingsFn = nullptr;
  UFunction* GetGameTimeFn = nullptr;
};
struct BuffHandles {
  FWeakObjectPtr ClassRef;
  UClass* Class = nullptr;
  std::array<UFunction*, static_cast<std::size_t>(BuffEvent::Count)> Events{};
};
GlobalActorHandles g_global;
BuffHandles g_buff;

UFunction* FindEvent(UClass* cls, const char* name) {
  return Game::UClass_::FindFunctionByName(cls, FName(name, EFindName::FNAME_Add), 1);
}

}  // namespace

const char* BuffEventName(BuffEvent event) { return kBuffEventNames[static_cast<std::size_t>(event)]; }

bool EnsureGlobalActor() {
  if (g_global.ActorRef.Get() != nullptr)
    return g_global.SetGlobalSettingsFn != nullptr && g_global.GetGameTimeFn != nullptr;
  g_global.Actor = nullptr;
  g_global.ActorRef = FWeakObjectPtr();
  UClass* cls = AsaApi::Game::ClassAtPath(FString(TandorShopMod::GlobalActorPath));
  if (cls == nullptr) return false;
  TArray<AActor*> actors;
  Game::UGameplayStatics_::GetAllActorsOfClass(reinterpret_cast<UObject*>(AsaApi::GetApiUtils().GetWorld()), cls,
                                               &actors);
  if (actors.IsEmpty() || actors[0] == nullptr) return false;
  g_global.Actor = actors[0];
  g_global.ActorRef = FWeakObjectPtr::From(g_global.Actor);
  if (g_global.SetGlobalSettingsFn == nullptr) g_global.SetGlobalSettingsFn = FindEvent(cls, "a_setglobalsettings");
  if (g_global.GetGameTimeFn == nullptr) g_global.GetGameTimeFn = FindEvent(cls, "a_getgametime");
  return g_global.SetGlobalSettingsFn != nullptr && g_global.GetGameTimeFn != nullptr;
}

bool EnsureBuffEvents() {
  if (g_buff.ClassRef.Get() == nullptr) {
    g_buff.Class = AsaApi::Game::ClassAtPath(FString(TandorShopMod::PlayerBuffPath));
    if (g_buff.Class == nullptr) return false;
    g_buff.ClassRef = FWeakObjectPtr::From(g_buff.Class);
    for (std::size_t i = 0; i < g_buff.Events.size(); ++i)
      if (g_buff.Events[i] == nullptr) g_buff.Events[i] = FindEvent(g_buff.Class, kBuffEventNames[i]);
  }
  for (UFunction* event : g_buff.Events)
    if (event == nullptr) return false;
  return true;
}

APrimalBuff* GetPlayerBuff(AShooterPlayerController* controller) {
  if (controller == nullptr || g_buff.Class == nullptr) return nullptr;
  ACharacter* character = Game::AController_::Character.Of(controller);
  if (character == nullptr) return nullptr;
  return Game::APrimalCharacter_::GetBuff(reinterpret_cast<APrimalCharacter*>(character), g_buff.Class);
}

void CallEvent(UObject* object, UFunction* event, void* block, std::size_t size) {
  const std::size_t expected = Game::UFunction_::ParmsSize.Of(event);
  const std::size_t sent = std::max(expected, size);
  // The block goes out in the game's memory, as the engine hands parameters around.
  void* buffer = FMemory::Malloc(sent == 0 ? 1 : sent, 16);
  if (buffer == nullptr) return;
  std::memset(buffer, 0, sent);
  const bool sameSize = expected == size;
  if (sameSize) {
    std::memcpy(buffer, block, size);
  } else {
    TandorShop::Log().warn("Event {} expects {} bytes of parameters, the shop has {}; sent zeroed",
                           event->NamePrivate.ToString().ToUtf8(), expected, size);
  }
  Game::AActor_::ProcessEvent(reinterpret_cast<AActor*>(object), event, buffer);
  if (sameSize) std::memcpy(block, buffer, size);  // what the event wrote (game time)
  FMemory::Free(buffer);
}

bool SendBlockToPlayerBuff(AShooterPlayerController* controller, BuffEvent event, void* block, std::size_t size) {
  if (!EnsureBuffEvents()) {
    TandorShop::Log().warn("Buff is not valid.");
    return false;
  }
  APrimalBuff* buff = GetPlayerBuff(controller);
  if (buff == nullptr) return true;
  CallEvent(buff, g_buff.Events[static_cast<std::size_t>(event)], block, size);
  return true;
}

int32_t GetServerGameTime() {
  if (!EnsureGlobalActor()) {
    TandorShop::Log().warn("GA is not valid.");
    return -1;
  }
  double seconds = 0;
  CallEvent(g_global.Actor, g_global.GetGameTimeFn, &seconds, sizeof(seconds));
  if (!(seconds > -2147483648.0 && seconds < 2147483648.0)) return -1;
  return static_cast<int32_t>(seconds);
}

bool CallGlobalSettings(void* block, std::size_t size) {
  if (!EnsureGlobalActor()) return false;
  CallEvent(g_global.Actor, g_global.SetGlobalSettingsFn, block, size);
  return true;
}

void ResetModHandles() {
  g_global = GlobalActorHandles{};
  g_buff = BuffHandles{};
}

}  // namespace ModComm
