#pragma once
// UPrimalInventoryComponent: the items a character holds, with a number of slots
// (one per stack), so a full inventory refuses and a stack can be partial.
#include <cstdint>

#include "AsaApi/Game/Classes.h"
#include "AsaApi/TArray.h"
#include "sim/engine/ObjectArray.h"

struct UPrimalItem;

namespace sim {

struct SimItem;
struct SimClass;

struct SimInventory {
  UObject Header;
  TArray<UPrimalItem*> InventoryItems;
  int32_t MaxSlots = 300;

  bool Full() const { return InventoryItems.Num() >= MaxSlots; }
};

class ItemWorld;

// Adds (amount > 0) or removes (amount < 0) units of exactly cls, as the game's
// IncrementItemTemplateQuantity does: fills stacks up to their size, then new
// stacks while slots are free; removes only from removable stacks that are not
// engrams, blueprints or skins. Returns the units changed; lastTouched gets the
// last stack changed.
int32_t IncrementQuantity(ItemWorld& world, SimInventory& inventory, const SimClass* cls, int32_t amount,
                          SimItem** lastTouched);

}  // namespace sim
