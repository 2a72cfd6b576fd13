#pragma once
// Whether items fit into an inventory, free of the game: the slots left and the
// units the stacks already there still take, against what a delivery adds.
#include <cstdint>
#include <map>
#include <vector>

namespace DeliveryHelper {

// What one item variant adds to an inventory.
struct ItemNeed {
  const void* ItemClass = nullptr;  // identity only
  bool Single = false;              // made one by one: one slot per unit
  int32_t Amount = 0;
  int32_t MaxStack = 1;  // units one new stack holds
};

// The room an inventory has.
struct InventoryRoom {
  int64_t FreeSlots = 0;
  std::map<const void*, int64_t> StackRoom;  // per class: units its stacks still take
};

// True when every need fits together, in order, as the game places them: units
// that stack go onto the class's stacks first, then into new stacks of MaxStack
// units, each in a free slot (whose rest later needs of the class may fill);
// single units take one slot each.
bool NeedsFit(InventoryRoom room, const std::vector<ItemNeed>& needs);

}  // namespace DeliveryHelper
