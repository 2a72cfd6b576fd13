#pragma once
// What the mod is shown of a held packet: the packet's view restricted to the
// variants its stored string selects.
#include <cstdint>

#include "modcomm/ModViews.h"
#include "shop/PacketHelper.h"

namespace TandorShop::RedeemViews {

ModComm::RedeemView ViewOf(const PacketHelper::ConstructedPacket& packet, int32_t amount);

}  // namespace TandorShop::RedeemViews
