// A packet's "Items" and their variants.
#include <fmt/format.h>

#include "config/CatalogueEntries.h"
#include "config/CatalogueReader.h"
#include "config/ReadReport.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;

bool ReadItemVariant(const json& entry, ConfigItemVariant& variant) {
  if (!Entries::Require(entry, "Name", "Warning: ItemVariant has no Name.")) return false;
  variant.Name = Json::ReadText(entry, "Name");
  if (ContainsIllegalSymbol(variant.Name)) {
    Warn(fmt::format("ItemVariant Name {} contains illegal Symbol", variant.Name.ToUtf8()));
    return false;
  }
  if (!Entries::Require(entry, "Blueprint", "Warning: ItemVariant has no Blueprint.")) return false;
  if (!Entries::Require(entry, "PriceIncrease", "Warning: ItemVariant has no PriceIncrease.")) return false;
  if (!Entries::Require(entry, "Amount", "Warning: ItemVariant has no Amount.")) return false;

  variant.Blueprint = Json::ReadAssetPath(entry, "Blueprint");
  variant.PriceIncrease = Json::ReadInt32(entry, "PriceIncrease", 0);
  variant.Amount = Json::ReadInt32(entry, "Amount", 0);
  variant.Quality = Json::ReadFloat(entry, "Quality", 0.f);
  variant.ForceBlueprint = Json::ReadBool(entry, "ForceBlueprint", false);
  variant.LimitBlueprintUse = Json::ReadInt32(entry, "LimitBlueprintUse", 0);
  variant.FixedArmor = Json::ReadFloat(entry, "FixedArmor", 0.f);
  variant.FixedDamage = Json::ReadFloat(entry, "FixedDamage", 0.f);
  variant.FixedDura = Json::ReadFloat(entry, "FixedDura", 0.f);
  variant.FixedHypo = Json::ReadFloat(entry, "FixedHypo", 0.f);
  variant.FixedHyper = Json::ReadFloat(entry, "FixedHyper", 0.f);
  return true;
}

}  // namespace

void ReadPacketItems(const json& packetEntry, ConfigShopPacket& packet, CatalogueIdCounters& ids) {
  Entries::ReadGroups(
      packetEntry, "Items", "Warning: Item {} has no Variant.", ids.Item, ids.ItemVariant, packet.Items,
      [](const json&, ConfigItem&) {},
      [](const json& entry, ConfigItemVariant& variant, int32_t) { return ReadItemVariant(entry, variant); },
      [](ConfigItemVariant& variant, int32_t itemId) { variant.ItemId = itemId; });
}

}  // namespace ConfigHelper
