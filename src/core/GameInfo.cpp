#include "core/GameInfo.h"

#include <atomic>
#include <exception>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Game/AShooterGameMode.h"
#include "core/Log.h"

namespace TandorShop::GameInfo {
namespace {
std::atomic<int64_t> g_serverId{0};
}

int64_t ServerId() { return g_serverId.load(std::memory_order_relaxed); }

void RefreshServerId() {
  try {
    AShooterGameMode* gameMode = AsaApi::GetApiUtils().GetShooterGameMode();
    if (gameMode != nullptr) g_serverId.store(gameMode->ServerIDField());
  } catch (const std::exception& e) {
    Log().error("Could not read the server id: {}", e.what());
  }
}

}  // namespace TandorShop::GameInfo
