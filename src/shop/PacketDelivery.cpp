#include "shop/PacketDelivery.h"

#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "delivery/DeliveryHelper.h"
#include "shop/Pricing.h"

namespace TandorShop::PacketDelivery {
namespace {

// Whether the packet as configured holds anything; a selection that picks none of
// it delivers nothing and is not charged.
bool HasContent(const ConfigHelper::ConfigShopPacket& packet) {
  return !packet.Items.IsEmpty() || !packet.Dinos.IsEmpty() || !packet.Commands.IsEmpty();
}

// One unit: how many of its deliveries succeeded and the increases they add.
int32_t DeliverOneUnit(const PacketHelper::ConstructedPacket& packet, AShooterPlayerController* controller,
                       UPrimalInventoryComponent* inventory, int32_t& increases) {
  int32_t succeeded = 0;
  for (std::size_t k = 0; k < packet.ItemGroups.size() && k < packet.ItemVariants.size(); ++k)
    succeeded += DeliveryHelper::DeliverItemVariant(inventory, increases, packet.ItemGroups[k],
                                                    packet.ItemVariants[k]) ? 1 : 0;
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
    const int32_t succeeded = DeliverOneUnit(packet, controller, inventory, increases);
    if (succeeded == 0 && hasContent) continue;
    ++delivered.Units;
    delivered.Charge += PriceHelper::UnitCharge(packet.Packet->Price, increases, succeeded, hasContent);
  }
  return delivered;
}

}  // namespace TandorShop::PacketDelivery
