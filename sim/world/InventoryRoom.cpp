#include "sim/world/InventoryRoom.h"

#include <algorithm>

#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "sim/world/Items.h"

namespace sim {
namespace {

SimItem* AsItem(UPrimalItem* item) { return reinterpret_cast<SimItem*>(item); }
SimInventory* AsInventory(UPrimalInventoryComponent* inventory) { return reinterpret_cast<SimInventory*>(inventory); }

int MaxInventoryItems(UPrimalInventoryComponent* inventory, bool) { return AsInventory(inventory)->MaxSlots; }

int CurrentNumInventoryItems(UPrimalInventoryComponent* inventory) {
  return AsInventory(inventory)->InventoryItems.Num();
}

int MaxItemQuantity(UPrimalItem* item, UObject*) { return std::max(1, AsItem(item)->MaxStack); }

void SetQuantity(UPrimalItem* item, int quantity, bool) { AsItem(item)->ItemQuantity = std::max(1, quantity); }

// The item leaves its inventory at once; the game destroys it later, so here it
// stays in the world without an inventory until the world ends.
void RemoveFromInventory(UPrimalItem* item, bool, bool) {
  SimItem* removed = AsItem(item);
  if (removed->Inventory == nullptr) return;
  removed->Inventory->InventoryItems.RemoveAll([item](UPrimalItem* held) { return held == item; });
  removed->Inventory = nullptr;
}

}  // namespace

void RegisterInventoryRoomFunctions() {
  host::Register(Game::UPrimalInventoryComponent_::GetMaxInventoryItems, &MaxInventoryItems);
  host::Register(Game::UPrimalInventoryComponent_::GetCurrentNumInventoryItems, &CurrentNumInventoryItems);
  host::Register(Game::UPrimalItem_::GetMaxItemQuantity, &MaxItemQuantity);
  host::Register(Game::UPrimalItem_::SetQuantity, &SetQuantity);
  host::Register(Game::UPrimalItem_::RemoveItemFromInventory, &RemoveFromInventory);
}

}  // namespace sim
