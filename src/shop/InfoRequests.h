#pragma once
// The requests that only answer with data: open the shop, a category, the logs.
#include <cstdint>

struct AShooterPlayerController;

namespace TandorShop::ShopRequests {
void HandleOpenShop(AShooterPlayerController* sender);
void HandleCategory(AShooterPlayerController* sender, int32_t index);
void HandleShopLog(AShooterPlayerController* sender);
void HandleTradeLog(AShooterPlayerController* sender);

// The open-shop request of the "/shop" chat command: shares the mod message's
// throttle; false (nothing posted) while the mod channel is closed or when throttled.
bool RequestOpenShop(AShooterPlayerController* sender);
}  // namespace TandorShop::ShopRequests
