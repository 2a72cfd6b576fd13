// "ShopPackets": validation of each packet, its id, and the sort by name.
#include <algorithm>

#include <nlohmann/json.hpp>

#include <fmt/format.h>

#include "config/CatalogueJson.h"
#include "config/CatalogueReader.h"
#include "config/ReadReport.h"
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
  if (!Json::Has(entry, "ShopCategory")) {
    Warn("Warning: ShopPacket has no ShopCategory.");
    return false;
  }
  packet.ShopCategory = Json::ReadText(entry, "ShopCategory");
  packet.CategoryId = FindCategoryIndex(config, packet.ShopCategory);
  if (packet.CategoryId < 0) {
    Warn(fmt::format("Invalid category name in ShopPacket: {}", packet.ShopCategory.ToUtf8()));
    return false;
  }
  if (!Json::Has(entry, "PacketName")) {
    Warn("Warning: ShopPacket has no PacketName.");
    return false;
  }
  packet.PacketName = Json::ReadText(entry, "PacketName");
  if (ContainsIllegalSymbol(packet.PacketName)) {
    Warn(fmt::format("ShopPacket PacketName {} contains illegal Symbol", packet.PacketName.ToUtf8()));
    return false;
  }
  if (!Json::Has(entry, "Price")) {
    Warn("Warning: ShopPacket has no Price.");
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

// What a packet that fails half-way may already have added: the records keyed
// by its id and the counters of its items, dinos and commands. Undone so that
// the next packet, which gets the same id, does not inherit them.
struct PacketReadMark {
  CatalogueIdCounters Ids;
  int32_t TimeSettings;
  int32_t Gacha;
  int32_t Stryder;
};

PacketReadMark MarkBeforePacket(const ConfigCatalogue& config, const CatalogueIdCounters& ids) {
  return {ids, config.ExtraTimeSettings.Num(), config.GachaResources.Num(), config.StryderItems.Num()};
}

template <typename T>
void Truncate(TArray<T>& list, int32_t count) {
  while (list.Num() > count) list.RemoveAt(list.Num() - 1);
}

void UndoPacket(ConfigCatalogue& config, CatalogueIdCounters& ids, const PacketReadMark& mark) {
  ids = mark.Ids;
  Truncate(config.ExtraTimeSettings, mark.TimeSettings);
  Truncate(config.GachaResources, mark.Gacha);
  Truncate(config.StryderItems, mark.Stryder);
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
    const PacketReadMark mark = MarkBeforePacket(config, ids);
    const bool read = ReadGuarded("ShopPackets", [&] {
      EntryScope scope("ShopPackets", index++, entry);
      ConfigShopPacket packet;
      if (!ReadShopPacket(entry, packet, ids, config)) return;
      config.ShopPackets.Add(std::move(packet));
      ++ids.ShopPacket;
    });
    if (!read) UndoPacket(config, ids, mark);
  }
  SortPacketsByName(config.ShopPackets);
}

const ConfigShopPacket* FindShopPacketByName(const ConfigCatalogue& config, const FString& name) {
  return config.ShopPackets.FindByPredicate(
      [&](const ConfigShopPacket& packet) { return EqualsIgnoreCase(packet.PacketName, name); });
}

}  // namespace ConfigHelper
