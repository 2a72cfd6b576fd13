#pragma once
// The arithmetic of a purchase: the player's discount from the group
// privileges, the price check before delivery and the charge after it. Plain
// functions; group membership comes in as a question the caller answers.
#include <cstdint>
#include <functional>
#include <optional>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "config/CatalogueRecords.h"

namespace PacketHelper {
struct ConstructedPacket;
}

namespace PriceHelper {

// The most units one purchase may take when the packet sets no MaxPurchaseSameTime.
inline constexpr int32_t kDefaultMaxPurchaseAmount = 1000;

// The discount fraction of a player: the largest ShopDiscount of the privileges
// whose group the player is in, or their sum when sumDiscounts; 0 in none.
// Clamped to 0 .. 1, so a discount never pays the player.
double DiscountForGroups(const TArray<ConfigHelper::ConfigGroupPrivilege>& privileges, bool sumDiscounts,
                         const std::function<bool(const FString& group)>& isInGroup);

// price × (1 − discount) rounded half up, never below 0. The discount is taken
// as clamped to 0 .. 1.
int64_t Discounted(int64_t price, double discount);

// True when amount units may be bought at once: at least 1, and at most
// MaxPurchaseSameTime when that is at least 1, else at most kDefaultMaxPurchaseAmount.
bool AmountAllowed(int32_t amount, int32_t maxPurchaseSameTime);

// The packet's Price plus the PriceIncrease of every selected variant.
int64_t UnitPrice(const PacketHelper::ConstructedPacket& packet);

// What amount units cost together, with the discount unless excluded. nullopt
// when the undiscounted total leaves the 32-bit range (the purchase is refused),
// or when amount is below 1.
std::optional<int32_t> PurchaseNeed(int64_t unitPrice, int32_t amount, double discount, bool excludeFromDiscount);

// The undiscounted price of one delivered unit: its base Price only when at
// least one of its deliveries succeeded or the packet has nothing to deliver,
// plus the increases of the variants that were delivered.
int64_t UnitCharge(int32_t basePrice, int64_t deliveredIncreases, int32_t deliveredCount, bool hasContent);

// What is taken from the player for delivered goods worth total: discounted
// unless excluded, never below 0, at most the 32-bit maximum.
int32_t FinalCharge(int64_t total, double discount, bool excludeFromDiscount);

}  // namespace PriceHelper
