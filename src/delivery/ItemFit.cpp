#include "delivery/ItemFit.h"

#include <algorithm>

namespace DeliveryHelper {
namespace {

// Places a stacking need; the slots it takes.
int64_t PlaceStacking(InventoryRoom& room, const ItemNeed& need) {
  int64_t& onStacks = room.StackRoom[need.ItemClass];
  const int64_t amount = need.Amount;
  const int64_t filled = std::min(std::max<int64_t>(onStacks, 0), amount);
  onStacks -= filled;
  const int64_t rest = amount - filled;
  const int64_t perStack = std::max<int32_t>(need.MaxStack, 1);
  const int64_t newStacks = (rest + perStack - 1) / perStack;
  onStacks += newStacks * perStack - rest;
  return newStacks;
}

}  // namespace

bool NeedsFit(InventoryRoom room, const std::vector<ItemNeed>& needs) {
  for (const ItemNeed& need : needs) {
    if (need.Amount < 1) continue;
    room.FreeSlots -= need.Single ? need.Amount : PlaceStacking(room, need);
    if (room.FreeSlots < 0) return false;
  }
  return true;
}

}  // namespace DeliveryHelper
