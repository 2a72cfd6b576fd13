#include "shop/Pricing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/CheckedMath.h"
#include "shop/PacketHelper.h"

namespace PriceHelper {
namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();

double Clamped(double discount) {
  if (std::isnan(discount)) return 0.0;
  return std::clamp(discount, 0.0, 1.0);
}

}  // namespace

double DiscountForGroups(const TArray<ConfigHelper::ConfigGroupPrivilege>& privileges, bool sumDiscounts,
                         const std::function<bool(const FString& group)>& isInGroup) {
  double discount = 0.0;
  for (const ConfigHelper::ConfigGroupPrivilege& privilege : privileges) {
    if (!isInGroup(privilege.GroupName)) continue;
    const double fraction = static_cast<double>(privilege.ShopDiscount);
    discount = sumDiscounts ? discount + fraction : std::max(discount, fraction);
  }
  return Clamped(discount);
}

int64_t Discounted(int64_t price, double discount) {
  const double value = static_cast<double>(price) * (1.0 - Clamped(discount)) + 0.5;
  if (value <= 0.0) return 0;
  if (value >= 9.0e18) return std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(std::trunc(value));
}

bool AmountAllowed(int32_t amount, int32_t maxPurchaseSameTime) {
  if (amount < 1) return false;
  return amount <= (maxPurchaseSameTime >= 1 ? maxPurchaseSameTime : kDefaultMaxPurchaseAmount);
}

int64_t UnitPrice(const PacketHelper::ConstructedPacket& packet) {
  int64_t price = packet.Packet == nullptr ? 0 : packet.Packet->Price;
  for (const auto* variant : packet.ItemVariants) price += variant->PriceIncrease;
  for (const auto* variant : packet.DinoVariants) price += variant->PriceIncrease;
  for (const auto* variant : packet.CommandVariants) price += variant->PriceIncrease;
  return price;
}

std::optional<int32_t> PurchaseNeed(int64_t unitPrice, int32_t amount, double discount, bool excludeFromDiscount) {
  if (amount < 1) return std::nullopt;
  int64_t total = 0;
  if (TandorShop::MultiplyOverflows(unitPrice, static_cast<int64_t>(amount), total)) return std::nullopt;
  if (total > kInt32Max || total < kInt32Min) return std::nullopt;
  if (excludeFromDiscount) return static_cast<int32_t>(std::max<int64_t>(total, 0));
  return static_cast<int32_t>(Discounted(total, discount));
}

int64_t UnitCharge(int32_t basePrice, int64_t deliveredIncreases, int32_t deliveredCount, bool hasContent) {
  const bool chargeBase = deliveredCount > 0 || !hasContent;
  return (chargeBase ? basePrice : 0) + deliveredIncreases;
}

int32_t FinalCharge(int64_t total, double discount, bool excludeFromDiscount) {
  const int64_t charge = excludeFromDiscount ? std::max<int64_t>(total, 0) : Discounted(total, discount);
  return static_cast<int32_t>(std::min(charge, kInt32Max));
}

}  // namespace PriceHelper
