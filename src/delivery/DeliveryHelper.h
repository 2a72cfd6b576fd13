#pragma once
// Putting bought goods into the game: items into a player's inventory, creatures
// packed into cryopods, console commands run as the player. Game thread only.
// Each delivery adds its variant's price increase to the running total when it
// succeeds; none of them throws.
#include <cstdint>

#include "config/CatalogueRecords.h"

struct AShooterPlayerController;
struct UPrimalInventoryComponent;
struct UPrimalItem;
struct UClass;

namespace DeliveryHelper {

class ItemArrivals;

// Every unit of the variant or none: true when all of them are in the inventory.
// Checks first that they fit (free slots, room on stacks); when the game still
// takes fewer, what did arrive is taken back before it returns false. On
// success, what arrived is added to `arrived` when given, so that a caller can
// take it back if the rest of its unit does not arrive.
bool DeliverItemVariant(UPrimalInventoryComponent* inventory, int32_t& priceTotal,
                        const ConfigHelper::ConfigItem* item, const ConfigHelper::ConfigItemVariant* variant,
                        ItemArrivals* arrived = nullptr);

// True when the cryopod with the creature is in the inventory. Never leaves a
// creature in the world.
bool DeliverDinoVariant(AShooterPlayerController* player, UPrimalInventoryComponent* inventory, int32_t& priceTotal,
                        const ConfigHelper::ConfigDino* dino, const ConfigHelper::ConfigDinoVariant* variant);

// True when the command was issued (whatever the game answered).
bool DeliverCommandVariant(AShooterPlayerController* player, int32_t& priceTotal,
                           const ConfigHelper::ConfigCommand* command, const ConfigHelper::ConfigCommandVariant* variant);

// Units of exactly itemClass that a sale may take away: removable items that are
// neither engrams, blueprints nor skins.
int32_t CountSellableItems(UClass* itemClass, UPrimalInventoryComponent* inventory);

// Takes count units of itemClass away (the game picks the stacks).
void RemoveItemUnits(UPrimalInventoryComponent* inventory, UClass* itemClass, int32_t count);

// Puts count units of itemClass back into the inventory (a sale that was not
// paid); the units that went in.
int32_t ReturnItemUnits(UPrimalInventoryComponent* inventory, UClass* itemClass, int32_t count);

// Gives one stat of an item the configured value (0 leaves it alone).
void SetItemStat(UPrimalItem* item, int statIndex, float value);

// Armor and rating of a saddle; an armor value of 0 leaves it as made.
void SetSaddleArmor(UPrimalItem* item, float quality, float armor);

}  // namespace DeliveryHelper
