#pragma once
// The mod's requests that move points and goods.
#include <cstdint>

#include "AsaApi/FString.h"
#include "config/CatalogueRecords.h"

struct AShooterPlayerController;

namespace TandorShop::ShopRequests {
void HandleBuy(AShooterPlayerController* sender, const FString& packetString);
void HandleSellList(AShooterPlayerController* sender);
void HandleSell(AShooterPlayerController* sender, const FString& itemName, int32_t amount);
// Takes up to units sale units of the item from the player's inventory; the
// points for what left it, or a value below 1 when nothing was sold.
int32_t SellItems(AShooterPlayerController* controller, const ConfigHelper::ConfigItemToSell& item, int32_t units);
void HandleRedeemList(AShooterPlayerController* sender);
void HandleRedeem(AShooterPlayerController* sender, const FString& packetString, int32_t rewardId, bool allVariants);
void HandleTradeTargets(AShooterPlayerController* sender);
void HandleTrade(AShooterPlayerController* sender, const FString& target, int32_t amount);
}  // namespace TandorShop::ShopRequests
