#include "shop/PacketDelivery.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "delivery/DeliveryHelper.h"
#include "delivery/ItemArrivals.h"
#include "delivery/ItemRoom.h"
#include "shop/Pricing.h"

namespace TandorShop::PacketDelivery {
namespace {

// Whether the packet as configured holds anything; a selection that picks none of
// it delivers nothing and is not charged.
bool HasContent(const ConfigHelper::ConfigShopPacket& packet) {
  return !packet.Items.IsEmpty() || !packet.Dinos.IsEmpty() || !packet.Commands.IsEmpty();
}

// The items of one unit, all of them or none: they must fit together before the
// first goes in, and when one still comes up short, what the others brought is
// taken back. The number of item deliveries when all arrived; none otherwise.
std::optional<int32_t> DeliverUnitItems(const PacketHelper::ConstructedPacket& packet,
                                        UPrimalInventoryComponent* inventory, int32_t& increases) {
  const std::size_t count = std::min(packet.ItemGroups.size(), packet.ItemVariants.size());
  if (count == 0) return 0;
  const std::vector<const ConfigHelper::ConfigItemVariant*> variants(packet.ItemVariants.begin(),
                                                                     packet.ItemVariants.begin() + count);
  if (!DeliveryHelper::ItemsFit(inventory, variants)) return std::nullopt;
  DeliveryHelper::ItemArrivals arrived;
  for (std::size_t k = 0; k < count; ++k) {
    if (DeliveryHelper::DeliverItemVariant(inventory, increases, packet.ItemGroups[k], variants[k], &arrived)) continue;
    arrived.TakeBack();
    return std::nullopt;
  }
  return static_cast<int32_t>(count);
}

// One unit: how many of its deliveries succeeded and the increases they add;
// none when its items did not all arrive (then nothing of it is delivered).
std::optional<int32_t> DeliverOneUnit(const PacketHelper::ConstructedPacket& packet,
                                      AShooterPlayerController* controller, UPrimalInventoryComponent* inventory,
                                      int32_t& increases) {
  const std::optional<int32_t> items = DeliverUnitItems(packet, inventory, increases);
  if (!items) return std::nullopt;
  int32_t succeeded = *items;
  for (std::size_t k = 0; k < packet.DinoGroups.size() && k < packet.DinoVariants.size(); ++k)
    succeeded += DeliveryHelper::DeliverDinoVariant(controller, inventory, increases, packet.DinoGroups[k],
                                                    packet.DinoVariants[k]) ? 1 : 0;
  for (std::size_t k = 0; k < packet.CommandGroups.size() && k < packet.CommandVariants.size(); ++k)
    succeeded += DeliveryHelper::DeliverCommandVariant(controller, increases, packet.CommandGroups[k],
                                                       packet.CommandVariants[k]) ? 1 : 0;
  return succeeded;
}

}  // namespace

UPrimalInventoryComponent* LivingInventory(AShooterPlayerController* controller) {
  if (controller == nullptr) return nullptr;
  AShooterCharacter* character = Game::AShooterPlayerController_::GetPlayerCharacter(controller);
  if (character == nullptr || Game::APrimalCharacter_::IsDeadOrDying(character)) return nullptr;
  return Game::APrimalCharacter_::MyInventoryComponent.Of(character);
}

Delivered DeliverUnits(const PacketHelper::ConstructedPacket& packet, AShooterPlayerController* controller,
                       UPrimalInventoryComponent* inventory, int32_t units) {
  Delivered delivered;
  if (packet.Packet == nullptr) return delivered;
  const bool hasContent = HasContent(*packet.Packet);
  for (int32_t unit = 0; unit < units; ++unit) {
    int32_t increases = 0;
    const std::optional<int32_t> succeeded = DeliverOneUnit(packet, controller, inventory, increases);
    if (!succeeded || (*succeeded == 0 && hasContent)) continue;
    ++delivered.Units;
    delivered.Charge += PriceHelper::UnitCharge(packet.Packet->Price, increases, *succeeded, hasContent);
  }
  return delivered;
}

}  // namespace TandorShop::PacketDelivery
