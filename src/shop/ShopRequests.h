#pragma once
// The mod's requests that move points and goods.
#include <cstdint>

#include "AsaApi/FString.h"

struct AShooterPlayerController;

namespace TandorShop::ShopRequests {
void HandleBuy(AShooterPlayerController* sender, const FString& packetString);
void HandleSellList(AShooterPlayerController* sender);
void HandleSell(AShooterPlayerController* sender, const FString& itemName, int32_t amount);
void HandleRedeemList(AShooterPlayerController* sender);
void HandleRedeem(AShooterPlayerController* sender, const FString& packetString, int32_t rewardId, bool allVariants);
void HandleTradeTargets(AShooterPlayerController* sender);
void HandleTrade(AShooterPlayerController* sender, const FString& target, int32_t amount);
}  // namespace TandorShop::ShopRequests
