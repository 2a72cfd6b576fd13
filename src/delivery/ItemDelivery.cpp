// Items into an inventory, and the count and removal a sale uses.
#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "core/Log.h"
#include "delivery/ClassCache.h"
#include "delivery/DeliveryHelper.h"
#include "delivery/DeliveryMath.h"
#include "delivery/ItemArrivals.h"
#include "delivery/ItemRoom.h"

namespace DeliveryHelper {
namespace {

using ConfigHelper::ConfigItemVariant;

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

// The stacks of exactly cls and their quantities.
std::vector<std::pair<UPrimalItem*, int32_t>> StacksOf(UPrimalInventoryComponent* inventory, UClass* cls) {
  std::vector<std::pair<UPrimalItem*, int32_t>> stacks;
  for (UPrimalItem* held : Game::UPrimalInventoryComponent_::InventoryItems.Of(inventory))
    if (held != nullptr && ClassOf(held) == cls) stacks.emplace_back(held, Game::UPrimalItem_::ItemQuantity.Of(held));
  return stacks;
}

// Records the stacks of cls that are new or grew since `before`; the units they gained.
int64_t RecordGrowth(UPrimalInventoryComponent* inventory, UClass* cls,
                     const std::vector<std::pair<UPrimalItem*, int32_t>>& before, ItemArrivals& arrivals) {
  int64_t gained = 0;
  for (const auto& [stack, now] : StacksOf(inventory, cls)) {
    const auto known = std::find_if(before.begin(), before.end(), [&](const auto& old) { return old.first == stack; });
    if (known == before.end()) {
      arrivals.Created(inventory, stack);
      gained += now;
    } else if (now > known->second) {
      arrivals.Grown(stack, known->second);
      gained += now - known->second;
    }
  }
  return gained;
}

// Adds all units in one call. True only when the inventory gained all of them;
// what it gained is recorded either way.
bool DeliverStack(UPrimalInventoryComponent* inventory, UClass* cls, const ConfigItemVariant& variant,
                  ItemArrivals& arrivals) {
  const auto before = StacksOf(inventory, cls);
  UPrimalItem* incremented = nullptr;
  IncrementUnits(inventory, cls, variant.Amount, &incremented);
  return RecordGrowth(inventory, cls, before, arrivals) >= variant.Amount && incremented != nullptr;
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

bool DeliverOne(UPrimalInventoryComponent* inventory, UClass* cls, const ConfigItemVariant& variant,
                ItemArrivals& arrivals) {
  UPrimalItem* item = Game::UPrimalItem_::AddNewItem(cls, inventory, false, false, variant.Quality, false, 1, false,
                                                     0.0f, false, nullptr, 0.0f, false, false, true, true, true);
  if (item == nullptr) return false;
  arrivals.Created(inventory, item);
  ApplyFixedStats(item, variant);
  if (variant.ForceBlueprint) {
    Game::UPrimalItem_::bIsBlueprint.Set(item, true);
    if (variant.LimitBlueprintUse > 0) Game::UPrimalItem_::CustomItemID.Of(item) = variant.LimitBlueprintUse - 1;
  }
  Game::UPrimalItem_::UpdatedItem(item, false, true);
  return true;
}

// Makes the units one by one; stops at the first the inventory refuses.
bool DeliverSingles(UPrimalInventoryComponent* inventory, UClass* cls, const ConfigItemVariant& variant,
                    ItemArrivals& arrivals) {
  for (int32_t unit = 0; unit < variant.Amount; ++unit)
    if (!DeliverOne(inventory, cls, variant, arrivals)) return false;
  return true;
}

// All units of the variant, after checking that they fit. What arrived is
// recorded, also when not all of it did.
bool DeliverItems(UPrimalInventoryComponent* inventory, const ConfigItemVariant& variant, ItemArrivals& arrivals) {
  const std::optional<ItemMaking> making = MakingOf(variant);
  if (!making || !ItemsFit(inventory, {&variant})) return false;
  return making->Single ? DeliverSingles(inventory, making->Class, variant, arrivals)
                        : DeliverStack(inventory, making->Class, variant, arrivals);
}

}  // namespace

bool DeliverItemVariant(UPrimalInventoryComponent* inventory, int32_t& priceTotal,
                        const ConfigHelper::ConfigItem* item, const ConfigItemVariant* variant, ItemArrivals* arrived) {
  if (inventory == nullptr || item == nullptr || variant == nullptr) return false;
  ItemArrivals own;
  bool whole = false;
  try {
    whole = DeliverItems(inventory, *variant, own);
  } catch (const std::exception& error) {
    TandorShop::Log().error("Item delivery failed: {}", error.what());
  }
  if (!whole) {
    own.TakeBack();
    return false;
  }
  priceTotal = AddPrice(priceTotal, variant->PriceIncrease);
  if (arrived != nullptr) arrived->Append(std::move(own));
  return true;
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
