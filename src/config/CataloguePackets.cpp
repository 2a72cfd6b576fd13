// "ShopPackets": validation of each packet, its id, and the sort by name.
#include <algorithm>

#include <nlohmann/json.hpp>

#include "config/CatalogueJson.h"
#include "config/CatalogueReader.h"
#include "config/CatalogueTrail.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;

// Index of the category named `name` (ignoring case), or -1.
int32_t FindCategoryIndex(const ConfigCatalogue& config, const FString& name) {
  for (int32_t i = 0; i < config.ShopCategories.Num(); ++i)
    if (EqualsIgnoreCase(config.ShopCategories[i].Name, name)) return i;
  return -1;
}

// Steps that may reject the packet: category, name, price.
bool ReadPacketIdentity(const json& entry, ConfigShopPacket& packet, const ConfigCatalogue& config) {
  auto& log = TandorShop::Log();
  if (!Json::Has(entry, "ShopCategory")) {
    log.warn("Warning: ShopPacket has no ShopCategory.");
    return false;
  }
  packet.ShopCategory = Json::ReadText(entry, "ShopCategory");
  packet.CategoryId = FindCategoryIndex(config, packet.ShopCategory);
  if (packet.CategoryId < 0) {
    log.warn("Invalid category name in ShopPacket: {}", packet.ShopCategory.ToUtf8());
    return false;
  }
  if (!Json::Has(entry, "PacketName")) {
    log.warn("Warning: ShopPacket has no PacketName.");
    return false;
  }
  packet.PacketName = Json::ReadText(entry, "PacketName");
  if (ContainsIllegalSymbol(packet.PacketName)) {
    log.warn("ShopPacket PacketName {} contains illegal Symbol", packet.PacketName.ToUtf8());
    return false;
  }
  if (!Json::Has(entry, "Price")) {
    log.warn("Warning: ShopPacket has no Price.");
    return false;
  }
  return true;
}

void ReadPacketSettings(const json& entry, ConfigShopPacket& packet) {
  packet.Price = Json::ReadInt32(entry, "Price", 0);
  packet.HideFromBuy = Json::ReadBool(entry, "HideFromBuy", false);
  packet.EarliestAvailableAtServerTime = Json::ReadHoursAsSeconds(entry, "EarliestAvailableAtServerTimeHours");
  packet.ExcludeFromDiscount = Json::ReadBool(entry, "ExcludeFromDiscount", false);
  packet.Description = Json::ReadText(entry, "Description");
  packet.ServerCooldown = Json::ReadHoursAsSeconds(entry, "ServerCooldownHours");
  packet.PlayerCooldown = Json::ReadHoursAsSeconds(entry, "PlayerCooldownHours");
  packet.MinCharLevel = Json::ReadInt32(entry, "MinCharLevel", 0);
  packet.MaxCharLevel = Json::ReadInt32(entry, "MaxCharLevel", 0);
  packet.MaxPurchaseSameTime = Json::ReadInt32(entry, "MaxPurchaseSameTime", 0);
  packet.IconOverride = Json::ReadAssetPath(entry, "IconOverride");
  packet.OnlyOnTheseMaps = Json::ReadTextList(entry, "OnlyOnTheseMaps");
  packet.ExcludeGroups = Json::ReadTextList(entry, "ExcludeGroups");
  packet.IncludeGroups = Json::ReadTextList(entry, "IncludeGroups");
}

void SortPacketsByName(TArray<ConfigShopPacket>& packets) {
  // Stable, so that packets whose names differ only in case keep file order.
  std::stable_sort(packets.begin(), packets.end(), [](const ConfigShopPacket& a, const ConfigShopPacket& b) {
    return CompareIgnoreCase(a.PacketName.View(), b.PacketName.View()) < 0;
  });
}

}  // namespace

bool EqualsIgnoreCase(const FString& a, const FString& b) { return CompareIgnoreCase(a.View(), b.View()) == 0; }

bool ContainsIllegalSymbol(const FString& name) { return name.Contains(u",") || name.Contains(u";"); }

bool ReadShopPacket(const json& entry, ConfigShopPacket& packet, CatalogueIdCounters& ids, ConfigCatalogue& config) {
  Json::RequireObject(entry, "ShopPackets");
  packet.Id = ids.ShopPacket;
  if (!ReadPacketIdentity(entry, packet, config)) return false;
  ReadPacketSettings(entry, packet);
  ReadExtraTimeSettings(entry, packet, config);
  ReadPacketItems(entry, packet, ids);
  ReadPacketDinos(entry, packet, ids, config);
  ReadPacketCommands(entry, packet, ids);
  return true;
}

void ReadShopPackets(const json& root, ConfigCatalogue& config, CatalogueIdCounters& ids) {
  const json& section = Json::ArrayOrNull(root, "ShopPackets");
  if (section.is_null()) return;
  config.ShopPackets.Reserve(static_cast<int32_t>(section.size()));
  std::size_t index = 0;
  for (const json& entry : section) {
    EntryScope scope("ShopPackets", index++, entry);
    ConfigShopPacket packet;
    if (!ReadShopPacket(entry, packet, ids, config)) continue;
    config.ShopPackets.Add(std::move(packet));
    ++ids.ShopPacket;
  }
  SortPacketsByName(config.ShopPackets);
}

const ConfigShopPacket* FindShopPacketByName(const ConfigCatalogue& config, const FString& name) {
  return config.ShopPackets.FindByPredicate(
      [&](const ConfigShopPacket& packet) { return EqualsIgnoreCase(packet.PacketName, name); });
}

}  // namespace ConfigHelper
