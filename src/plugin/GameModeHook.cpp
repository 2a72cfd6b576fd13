#include "plugin/GameModeHook.h"

#include <exception>

#include "AsaApi/Game/AShooterGameMode.h"
#include "AsaApi/Hooks.h"
#include "plugin/Lifecycle.h"
#include "core/Log.h"

namespace TandorShop {
namespace {

void (*BeginPlay_original)(AShooterGameMode*) = nullptr;

void Hook_AShooterGameMode_BeginPlay(AShooterGameMode* gameMode) {
  BeginPlay_original(gameMode);
  try {
    HandlePluginEvent(PluginEvent::ServerReady, nullptr);
  } catch (const std::exception& e) {
    Log().error("Starting the shop when the server got ready failed: {}", e.what());
  }
}

}  // namespace

bool InstallGameModeHook() {
  return AsaApi::GetHooks().SetHook(Game::AShooterGameMode_::BeginPlay, &Hook_AShooterGameMode_BeginPlay,
                                    &BeginPlay_original);
}

void RemoveGameModeHook() {
  AsaApi::GetHooks().DisableHook(Game::AShooterGameMode_::BeginPlay, &Hook_AShooterGameMode_BeginPlay);
}

}  // namespace TandorShop
