#pragma once
// Delivering a parsed packet into the game, shared by purchase and redeem.
#include <cstdint>

#include "shop/PacketHelper.h"

struct AShooterPlayerController;
struct UPrimalInventoryComponent;

namespace TandorShop::PacketDelivery {

// The inventory of the player's character when the player has a character that
// is neither dead nor dying; null otherwise.
UPrimalInventoryComponent* LivingInventory(AShooterPlayerController* controller);

struct Delivered {
  int32_t Units = 0;     // units whose items all arrived and of which at least one part arrived
                         // (or that had nothing to deliver)
  int64_t Charge = 0;    // undiscounted: base price of those units plus the delivered increases
};

// Delivers `units` units of the packet's selection: every item, dino and command
// variant of each unit, in that order. The items of a unit arrive whole or not at
// all: when they do not all fit, or one comes up short, what arrived of them is
// taken back and the unit's creatures and commands are not delivered (the unit
// does not count). A creature or command that fails does not stop the others.
Delivered DeliverUnits(const PacketHelper::ConstructedPacket& packet, AShooterPlayerController* controller,
                       UPrimalInventoryComponent* inventory, int32_t units);

}  // namespace TandorShop::PacketDelivery
