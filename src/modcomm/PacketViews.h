#pragma once
// What the mod is shown of the configuration: one view per category, shop packet
// and item to sell, built after every configuration read, in list order.
#include "AsaApi/TArray.h"
#include "config/CatalogueRecords.h"
#include "core/StateSize.h"
#include "modcomm/ModViews.h"

namespace ModComm {

PacketView BuildPacketView(const ConfigHelper::ConfigShopPacket& packet);
// Rebuilds every view from the process-wide configuration.
void BuildViews();
void ClearViews();

// Parallel to ShopConfig().ShopPackets, ShopCategories and ItemsToSell.
TArray<PacketView>& PacketViews();
TArray<CategoryView>& CategoryViews();
TArray<SellView>& SellViews();

// The stored views (entries: packets, categories and items to sell).
TandorShop::StateSize ViewCacheSize();

// A copy of a packet's view ready to send: icon, item classes, command icons and
// saddle texts filled in.
PacketView PreparedPacketView(const ConfigHelper::ConfigShopPacket& packet, const PacketView& view);

}  // namespace ModComm
