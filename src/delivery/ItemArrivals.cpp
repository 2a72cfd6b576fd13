#include "delivery/ItemArrivals.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "core/Log.h"

namespace DeliveryHelper {
namespace {

bool Holds(UPrimalInventoryComponent* inventory, const UPrimalItem* item) {
  const auto& items = Game::UPrimalInventoryComponent_::InventoryItems.Of(inventory);
  return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace

void ItemArrivals::Created(UPrimalInventoryComponent* inventory, UPrimalItem* item) {
  if (inventory != nullptr && item != nullptr) arrivals_.push_back({inventory, GetWeakReference(item), 0, true});
}

void ItemArrivals::Grown(UPrimalItem* stack, int32_t before) {
  if (stack != nullptr) arrivals_.push_back({nullptr, GetWeakReference(stack), before, false});
}

void ItemArrivals::Append(ItemArrivals&& other) {
  arrivals_.insert(arrivals_.end(), std::make_move_iterator(other.arrivals_.begin()),
                   std::make_move_iterator(other.arrivals_.end()));
  other.arrivals_.clear();
}

// An item that is gone already is no longer in the inventory: nothing to undo.
bool ItemArrivals::Undo(const Arrival& arrival) {
  UPrimalItem* item = arrival.Item.Get();
  if (item == nullptr) return true;
  if (arrival.WasCreated) {
    Game::UPrimalItem_::RemoveItemFromInventory(item, true, false);
    return !Holds(arrival.Inventory, item);
  }
  int32_t& quantity = Game::UPrimalItem_::ItemQuantity.Of(item);
  if (quantity > arrival.Before) Game::UPrimalItem_::SetQuantity(item, arrival.Before, false);
  return quantity <= arrival.Before;
}

bool ItemArrivals::TakeBack() {
  int32_t left = 0;
  for (auto arrival = arrivals_.rbegin(); arrival != arrivals_.rend(); ++arrival) {
    try {
      if (!Undo(*arrival)) ++left;
    } catch (const std::exception& error) {
      TandorShop::Log().error("Item take-back failed: {}", error.what());
      ++left;
    }
  }
  arrivals_.clear();
  if (left > 0) TandorShop::Log().error("Item take-back left {} items of an undelivered unit in the inventory.", left);
  return left == 0;
}

}  // namespace DeliveryHelper
