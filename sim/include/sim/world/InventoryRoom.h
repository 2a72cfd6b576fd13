#pragma once
// What the game tells about the room in an inventory (its slots, the size of a
// stack) and the changes it makes to one item by its identity: setting a
// stack's quantity, taking an item out of its inventory.
namespace sim {

// Registers UPrimalInventoryComponent.GetMaxInventoryItems(bool),
// UPrimalInventoryComponent.GetCurrentNumInventoryItems(),
// UPrimalItem.GetMaxItemQuantity(UObject*), UPrimalItem.SetQuantity(int,bool)
// and UPrimalItem.RemoveItemFromInventory(bool,bool).
void RegisterInventoryRoomFunctions();

}  // namespace sim
