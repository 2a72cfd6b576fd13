#pragma once
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/TSubclassOf.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "AsaApi/TArray.h"

struct UActorComponent : UObject {};
struct UPrimalInventoryComponent : UActorComponent {};

namespace Game::UPrimalInventoryComponent_ {
inline const GameField<TArray<UPrimalItem*>> InventoryItems{"UPrimalInventoryComponent.InventoryItems"};
// Adds (or, with a negative amount, removes) units of a class; the game picks the
// stacks. Returns the number of units changed.
inline const GameFunction<int(UPrimalInventoryComponent*, TSubclassOf<UPrimalItem>, int, bool, bool, UPrimalItem**,
                              UPrimalItem**, bool, bool, bool, bool, bool, bool, bool, bool, bool)>
    IncrementItemTemplateQuantity{
        "UPrimalInventoryComponent.IncrementItemTemplateQuantity(TSubclassOf<UPrimalItem>,int,bool,bool,UPrimalItem**,"
        "UPrimalItem**,bool,bool,bool,bool,bool,bool,bool,bool,bool)"};
// The number of slots (one per stack or single item) the inventory has, bonuses
// included; the argument is bIgnoreHiddenDefaultInventory.
inline const GameFunction<int(UPrimalInventoryComponent*, bool)> GetMaxInventoryItems{
    "UPrimalInventoryComponent.GetMaxInventoryItems(bool)"};
// The number of slots in use.
inline const GameFunction<int(UPrimalInventoryComponent*)> GetCurrentNumInventoryItems{
    "UPrimalInventoryComponent.GetCurrentNumInventoryItems()"};
}  // namespace Game::UPrimalInventoryComponent_
