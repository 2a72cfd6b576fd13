#pragma once
// How a variant's items are made and whether they fit: the game side of the
// fit check (delivery/ItemFit.h holds its arithmetic). Game thread only.
#include <optional>
#include <vector>

#include "config/CatalogueRecords.h"

struct UClass;
struct UPrimalInventoryComponent;

namespace DeliveryHelper {

struct ItemMaking {
  UClass* Class = nullptr;
  bool Single = false;  // made one by one (equipment, armor, saddles, blueprints); else added as stacks
};

// The class of the variant's items and how they are made; none when the variant
// cannot be delivered (no amount, no item class, no default object).
std::optional<ItemMaking> MakingOf(const ConfigHelper::ConfigItemVariant& variant);

// True when all the variants' items fit into the inventory together: free slots
// and room on the stacks there. False as well when one of them cannot be
// delivered at all.
bool ItemsFit(UPrimalInventoryComponent* inventory,
              const std::vector<const ConfigHelper::ConfigItemVariant*>& variants);

}  // namespace DeliveryHelper
