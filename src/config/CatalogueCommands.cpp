// A packet's "Commands" and their variants.
#include <fmt/format.h>

#include "config/CatalogueEntries.h"
#include "config/CatalogueReader.h"
#include "config/ReadReport.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;

bool ReadCommandVariant(const json& entry, ConfigCommandVariant& variant) {
  if (!Entries::Require(entry, "Name", "Warning: Command has no Name.")) return false;
  variant.Name = Json::ReadText(entry, "Name");
  if (ContainsIllegalSymbol(variant.Name)) {
    Warn(fmt::format("Command Name {} contains illegal Symbol", variant.Name.ToUtf8()));
    return false;
  }
  if (!Entries::Require(entry, "Command", "Warning: Command has no Command.")) return false;

  variant.Command = Json::ReadText(entry, "Command");
  variant.Title = Json::ReadText(entry, "Title");
  variant.Description = Json::ReadText(entry, "Description");
  variant.PriceIncrease = Json::ReadInt32(entry, "PriceIncrease", 0);
  variant.AsAdmin = Json::ReadBool(entry, "AsAdmin", false);
  variant.IconOverride = Json::ReadAssetPath(entry, "IconOverride");
  return true;
}

}  // namespace

void ReadPacketCommands(const json& packetEntry, ConfigShopPacket& packet, CatalogueIdCounters& ids) {
  Entries::ReadGroups(
      packetEntry, "Commands", "Warning: Command {} has no Variant.", ids.Command, ids.CommandVariant,
      packet.Commands,
      [](const json& entry, ConfigCommand& command) {
        command.VisibleInShop = Json::ReadBool(entry, "visibleInShop", true);
      },
      [](const json& entry, ConfigCommandVariant& variant, int32_t) { return ReadCommandVariant(entry, variant); },
      [](ConfigCommandVariant& variant, int32_t commandId) { variant.CommandId = commandId; });
}

}  // namespace ConfigHelper
