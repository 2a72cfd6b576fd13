// Items into an inventory, and the count and removal a sale uses.
#include <algorithm>
#include <exception>
#include <limits>

#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "core/Log.h"
#include "delivery/ClassCache.h"
#include "delivery/DeliveryHelper.h"
#include "delivery/DeliveryMath.h"

namespace DeliveryHelper {
namespace {

using ConfigHelper::ConfigItemVariant;

// Item types that are made one by one (with quality and stats): 1, 2, 6, 7.
bool IsSingleItemType(uint8_t itemType) { return itemType == 1 || itemType == 2 || itemType == 6 || itemType == 7; }

int32_t SaturatingAdd(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  return sum > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(sum);
}

// Units of exactly cls in the inventory, whatever their flags.
int64_t UnitsOfClass(UPrimalInventoryComponent* inventory, UClass* cls) {
  int64_t units = 0;
  for (UPrimalItem* held : Game::UPrimalInventoryComponent_::InventoryItems.Of(inventory))
    if (held != nullptr && ClassOf(held) == cls) units += Game::UPrimalItem_::ItemQuantity.Of(held);
  return units;
}

int IncrementUnits(UPrimalInventoryComponent* inventory, UClass* cls, int amount, UPrimalItem** slot) {
  return Game::UPrimalInventoryComponent_::IncrementItemTemplateQuantity(
      inventory, cls, amount, true, false, nullptr, slot, true, false, false, false, true, true, false, true, true);
}

// Adds all units in one call. True only when the inventory now holds all of them.
bool DeliverStack(UPrimalInventoryComponent* inventory, UClass* cls, const ConfigItemVariant& variant) {
  const int64_t before = UnitsOfClass(inventory, cls);
  UPrimalItem* incremented = nullptr;
  IncrementUnits(inventory, cls, variant.Amount, &incremented);
  return incremented != nullptr && UnitsOfClass(inventory, cls) - before >= variant.Amount;
}

void ApplyFixedStats(UPrimalItem* item, const ConfigItemVariant& variant) {
  bool applied = false;
  auto apply = [&](bool wanted, int index, float value) {
    if (!wanted) return;
    SetItemStat(item, index, value);
    applied = true;
  };
  apply(variant.FixedDamage > 100.0f, EPrimalItemStat::WeaponDamagePercent, variant.FixedDamage);
  apply(variant.FixedArmor != 0.0f, EPrimalItemStat::Armor, variant.FixedArmor);
  apply(variant.FixedHyper != 0.0f, EPrimalItemStat::HyperthermalInsulation, variant.FixedHyper);
  apply(variant.FixedHypo != 0.0f, EPrimalItemStat::HypothermalInsulation, variant.FixedHypo);
  apply(variant.FixedDura != 0.0f, EPrimalItemStat::MaxDurability, variant.FixedDura);
  if (applied && variant.Quality > 0.0f) Game::UPrimalItem_::OverrideItemRating(item, variant.Quality);
}

bool DeliverOne(UPrimalInventoryComponent* inventory, UClass* cls, const ConfigItemVariant& variant) {
  UPrimalItem* item = Game::UPrimalItem_::AddNewItem(cls, inventory, false, false, variant.Quality, false, 1, false,
                                                     0.0f, false, nullptr, 0.0f, false, false, true, true, true);
  if (item == nullptr) return false;
  ApplyFixedStats(item, variant);
  if (variant.ForceBlueprint) {
    Game::UPrimalItem_::bIsBlueprint.Set(item, true);
    if (variant.LimitBlueprintUse > 0) Game::UPrimalItem_::CustomItemID.Of(item) = variant.LimitBlueprintUse - 1;
  }
  Game::UPrimalItem_::UpdatedItem(item, false, true);
  return true;
}

bool DeliverItems(UPrimalInventoryComponent* inventory, int32_t& priceTotal, const ConfigItemVariant& variant) {
  if (variant.Amount < 1) return false;
  UClass* cls = ResolveItemClass(variant.Blueprint);
  if (cls == nullptr) return false;
  UObject* defaults = Game::UClass_::GetDefaultObject(cls, true);
  if (defaults == nullptr) return false;
  const uint8_t itemType = Game::UPrimalItem_::MyItemType.Of(defaults);

  if (!variant.ForceBlueprint && !IsSingleItemType(itemType)) {
    const bool delivered = DeliverStack(inventory, cls, variant);
    if (delivered) priceTotal = AddPrice(priceTotal, variant.PriceIncrease);
    return delivered;
  }
  int32_t created = 0;
  for (int32_t unit = 0; unit < variant.Amount; ++unit)
    if (DeliverOne(inventory, cls, variant)) ++created;
  // A part delivered is charged as whole variants only: created / Amount of them (0).
  priceTotal = AddPrice(priceTotal, (created / variant.Amount) * variant.PriceIncrease);
  return created == variant.Amount;
}

}  // namespace

bool DeliverItemVariant(UPrimalInventoryComponent* inventory, int32_t& priceTotal,
                        const ConfigHelper::ConfigItem* item, const ConfigItemVariant* variant) {
  if (inventory == nullptr || item == nullptr || variant == nullptr) return false;
  try {
    return DeliverItems(inventory, priceTotal, *variant);
  } catch (const std::exception& error) {
    TandorShop::Log().error("Item delivery failed: {}", error.what());
    return false;
  }
}

int32_t CountSellableItems(UClass* itemClass, UPrimalInventoryComponent* inventory) {
  if (itemClass == nullptr || inventory == nullptr) return 0;
  try {
    using namespace Game::UPrimalItem_;
    int32_t units = 0;
    for (UPrimalItem* held : Game::UPrimalInventoryComponent_::InventoryItems.Of(inventory)) {
      if (held == nullptr || ClassOf(held) != itemClass) continue;
      if (!bAllowRemovalFromInventory.Of(held) || bIsEngram.Of(held) || bIsBlueprint.Of(held)) continue;
      if (IsItemSkin(held, false)) continue;
      units = SaturatingAdd(units, ItemQuantity.Of(held));
    }
    return units;
  } catch (const std::exception& error) {
    TandorShop::Log().error("Item count failed: {}", error.what());
    return 0;
  }
}

void RemoveItemUnits(UPrimalInventoryComponent* inventory, UClass* itemClass, int32_t count) {
  if (inventory == nullptr || itemClass == nullptr || count < 1) return;
  try {
    IncrementUnits(inventory, itemClass, -count, nullptr);
  } catch (const std::exception& error) {
    TandorShop::Log().error("Item removal failed: {}", error.what());
  }
}

int32_t ReturnItemUnits(UPrimalInventoryComponent* inventory, UClass* itemClass, int32_t count) {
  if (inventory == nullptr || itemClass == nullptr || count < 1) return 0;
  try {
    const int64_t before = UnitsOfClass(inventory, itemClass);
    IncrementUnits(inventory, itemClass, count, nullptr);
    const int64_t back = UnitsOfClass(inventory, itemClass) - before;
    return static_cast<int32_t>(std::clamp<int64_t>(back, 0, count));
  } catch (const std::exception& error) {
    TandorShop::Log().error("Item return failed: {}", error.what());
    return 0;
  }
}

}  // namespace DeliveryHelper
