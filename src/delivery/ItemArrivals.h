#pragma once
// What item deliveries put into an inventory, kept so that it can be taken back
// when the unit it belongs to does not arrive whole. Only what the delivery
// itself made or added is ever taken: items it created by their identity, and
// stacks it grew back down to the quantity they had before, so nothing the
// player already held is touched. Game thread only, within one delivery.
#include <cstdint>
#include <vector>

#include "AsaApi/WeakObjectPtr.h"

struct UPrimalInventoryComponent;
struct UPrimalItem;

namespace DeliveryHelper {

class ItemArrivals {
 public:
  // An item (a single item or a new stack) the delivery created in inventory.
  void Created(UPrimalInventoryComponent* inventory, UPrimalItem* item);
  // A stack that held `before` units when the delivery began and now holds more.
  void Grown(UPrimalItem* stack, int32_t before);
  // Moves other's record behind this one (other is left empty).
  void Append(ItemArrivals&& other);

  // Takes back everything recorded, the latest first, and empties the record.
  // True when nothing recorded is left in the inventory.
  bool TakeBack();

  bool Empty() const { return arrivals_.empty(); }

 private:
  struct Arrival {
    UPrimalInventoryComponent* Inventory = nullptr;  // the inventory a created item went into
    TWeakObjectPtr<UPrimalItem> Item;
    int32_t Before = 0;  // a grown stack's quantity before; unused for created items
    bool WasCreated = false;
  };
  static bool Undo(const Arrival& arrival);

  std::vector<Arrival> arrivals_;
};

}  // namespace DeliveryHelper
