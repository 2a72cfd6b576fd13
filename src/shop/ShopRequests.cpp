// Purchase, sale, redeem and trade: the handlers arrive with the shop operations;
// until then a request is accepted and ends here without an answer.
#include "shop/ShopRequests.h"

namespace TandorShop::ShopRequests {
void HandleBuy(AShooterPlayerController*, const FString&) {}
void HandleSellList(AShooterPlayerController*) {}
void HandleSell(AShooterPlayerController*, const FString&, int32_t) {}
void HandleRedeemList(AShooterPlayerController*) {}
void HandleRedeem(AShooterPlayerController*, const FString&, int32_t, bool) {}
void HandleTradeTargets(AShooterPlayerController*) {}
void HandleTrade(AShooterPlayerController*, const FString&, int32_t) {}
}  // namespace TandorShop::ShopRequests
