#include "sim/world/Inventory.h"

#include <algorithm>
#include <cstdint>

#include "sim/world/Items.h"

namespace sim {
namespace {

bool IsPlainStackOf(const SimItem& item, const SimClass* cls) {
  return reinterpret_cast<const SimClass*>(item.Header.ClassPrivate) == cls &&
         (item.ItemFlags & (ItemFlag::IsEngram | ItemFlag::IsBlueprint | ItemFlag::IsSkin)) == 0;
}

int32_t Add(ItemWorld& world, SimInventory& inventory, const SimClass* cls, int32_t amount, SimItem** lastTouched) {
  int32_t left = amount;
  for (SimItem* item : world.ItemsOf(&inventory, cls)) {
    if (left == 0) break;
    if (!IsPlainStackOf(*item, cls) || item->ItemQuantity >= item->MaxStack) continue;
    const int32_t added = std::min(left, item->MaxStack - item->ItemQuantity);
    item->ItemQuantity += added;
    left -= added;
    *lastTouched = item;
  }
  while (left > 0) {
    SimItem* stack = world.NewItem(cls, &inventory, 1);
    if (stack == nullptr) break;  // full
    stack->ItemQuantity = std::min(left, stack->MaxStack);
    left -= stack->ItemQuantity;
    *lastTouched = stack;
  }
  return amount - left;
}

int32_t Remove(ItemWorld& world, SimInventory& inventory, const SimClass* cls, int32_t amount,
               SimItem** lastTouched) {
  int32_t left = amount;
  for (SimItem* item : world.ItemsOf(&inventory, cls)) {
    if (left == 0) break;
    if (!IsPlainStackOf(*item, cls) || (item->ItemFlags & ItemFlag::AllowRemoval) == 0) continue;
    const int32_t taken = std::min(left, item->ItemQuantity);
    item->ItemQuantity -= taken;
    left -= taken;
    *lastTouched = item;
    if (item->ItemQuantity == 0) {
      world.DeleteItem(item);
      *lastTouched = nullptr;
    }
  }
  return amount - left;
}

}  // namespace

int32_t IncrementQuantity(ItemWorld& world, SimInventory& inventory, const SimClass* cls, int32_t amount,
                          SimItem** lastTouched) {
  SimItem* touched = nullptr;
  int32_t changed = 0;
  if (ItemClasses::DefaultOf(cls) != nullptr && amount != 0)
    changed = amount > 0 ? Add(world, inventory, cls, amount, &touched) : Remove(world, inventory, cls, amount == INT32_MIN ? INT32_MAX : -amount, &touched);
  if (lastTouched != nullptr) *lastTouched = touched;
  return changed;
}

}  // namespace sim
