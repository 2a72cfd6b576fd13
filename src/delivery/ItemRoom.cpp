#include "delivery/ItemRoom.h"

#include <algorithm>
#include <exception>

#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "core/Log.h"
#include "delivery/ClassCache.h"
#include "delivery/ItemFit.h"

namespace DeliveryHelper {
namespace {

using ConfigHelper::ConfigItemVariant;

// Item types that are made one by one (with quality and stats): 1, 2, 6, 7.
bool IsSingleItemType(uint8_t itemType) { return itemType == 1 || itemType == 2 || itemType == 6 || itemType == 7; }

// A stack new units of its class may go onto: neither an engram, a blueprint nor a skin.
bool TakesUnits(UPrimalItem* held) {
  using namespace Game::UPrimalItem_;
  return !bIsEngram.Of(held) && !bIsBlueprint.Of(held) && !IsItemSkin(held, false);
}

int64_t StackRoomOf(UPrimalInventoryComponent* inventory, UClass* cls) {
  int64_t room = 0;
  for (UPrimalItem* held : Game::UPrimalInventoryComponent_::InventoryItems.Of(inventory)) {
    if (held == nullptr || ClassOf(held) != cls || !TakesUnits(held)) continue;
    const int32_t max = Game::UPrimalItem_::GetMaxItemQuantity(held, inventory);
    room += std::max<int64_t>(0, static_cast<int64_t>(max) - Game::UPrimalItem_::ItemQuantity.Of(held));
  }
  return room;
}

int64_t FreeSlotsOf(UPrimalInventoryComponent* inventory) {
  const int max = Game::UPrimalInventoryComponent_::GetMaxInventoryItems(inventory, false);
  const int used = Game::UPrimalInventoryComponent_::GetCurrentNumInventoryItems(inventory);
  return std::max<int64_t>(0, static_cast<int64_t>(max) - used);
}


bool Fits(UPrimalInventoryComponent* inventory, const std::vector<const ConfigItemVariant*>& variants) {
  InventoryRoom room{FreeSlotsOf(inventory), {}};
  std::vector<ItemNeed> needs;
  for (const ConfigItemVariant* variant : variants) {
    const std::optional<ItemMaking> making = variant == nullptr ? std::nullopt : MakingOf(*variant);
    if (!making) return false;
    ItemNeed need{making->Class, making->Single, variant->Amount, 1};
    if (!need.Single) {
      auto* defaults = static_cast<UPrimalItem*>(Game::UClass_::GetDefaultObject(making->Class, true));
      need.MaxStack = Game::UPrimalItem_::GetMaxItemQuantity(defaults, inventory);
      if (room.StackRoom.count(making->Class) == 0)
        room.StackRoom[making->Class] = StackRoomOf(inventory, making->Class);
    }
    needs.push_back(need);
  }
  return NeedsFit(std::move(room), needs);
}

}  // namespace

std::optional<ItemMaking> MakingOf(const ConfigItemVariant& variant) {
  if (variant.Amount < 1) return std::nullopt;
  UClass* cls = ResolveItemClass(variant.Blueprint);
  if (cls == nullptr) return std::nullopt;
  UObject* defaults = Game::UClass_::GetDefaultObject(cls, true);
  if (defaults == nullptr) return std::nullopt;
  const bool single = variant.ForceBlueprint || IsSingleItemType(Game::UPrimalItem_::MyItemType.Of(defaults));
  return ItemMaking{cls, single};
}

bool ItemsFit(UPrimalInventoryComponent* inventory, const std::vector<const ConfigItemVariant*>& variants) {
  if (inventory == nullptr) return false;
  try {
    return Fits(inventory, variants);
  } catch (const std::exception& error) {
    TandorShop::Log().error("Item room check failed: {}", error.what());
    return false;
  }
}

}  // namespace DeliveryHelper
