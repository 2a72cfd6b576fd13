#pragma once
// Packet strings: a shop packet with the variants the player chose, as text.
//
//   name[,amount];items;dinos;commands
//
// Sections are separated by ";" (empty sections kept); selections within a
// section by ",". Items and dinos carry one selection per entry of the packet,
// in packet order; commands any number. A selection names a variant by its Id
// (the mod's buy requests) or by its Name (stored strings). A string with fewer
// than four sections stands for the packet's whole content.
#include <cstdint>
#include <string_view>
#include <vector>

#include "AsaApi/FString.h"
#include "config/CatalogueRecords.h"

namespace PacketHelper {

struct ConstructedPacket {
  FString PacketName;  // the shop packet's name as configured
  FString RewardName;  // the reward packet's name when the string named one
  const ConfigHelper::ConfigShopPacket* Packet = nullptr;  // null when nothing matched

  // Selected variants with the entry each belongs to: ItemVariants[k] is a
  // variant of ItemGroups[k], and so on. The lists of one kind always have the
  // same length.
  std::vector<const ConfigHelper::ConfigItem*> ItemGroups;
  std::vector<const ConfigHelper::ConfigDino*> DinoGroups;
  std::vector<const ConfigHelper::ConfigCommand*> CommandGroups;
  std::vector<const ConfigHelper::ConfigItemVariant*> ItemVariants;
  std::vector<const ConfigHelper::ConfigDinoVariant*> DinoVariants;
  std::vector<const ConfigHelper::ConfigCommandVariant*> CommandVariants;

  int32_t Amount = 1;
  int32_t RewardId = -1;
  bool IsReward = false;
  bool AllVariants = false;
  bool Parsed = false;
};

// Parses `text` against `catalogue`. selectById: selections are variant Ids
// (otherwise names, ignoring case). rewardId -1 looks a reward packet up by
// name; any other value takes the reward packet with that Id. The result points
// into `catalogue` and is valid until its next read.
ConstructedPacket ParsePacketString(const FString& text, bool selectById, int32_t rewardId,
                                    const ConfigHelper::ConfigCatalogue& catalogue);
// The same against the process-wide configuration.
ConstructedPacket ParsePacketString(const FString& text, bool selectById, int32_t rewardId);

// The amount of a packet string's first section: decimal digits, optionally
// after one "-". Anything else is 1; a value beyond 32 bits is 0, which every
// caller refuses.
int32_t ParseAmount(std::u16string_view text);

// The text stored for a parsed packet: always amount 1, selections by name,
// hidden commands left out (the parse adds them back). Parsed by name, it
// selects the same variants again: an item or dino that the parse left out
// keeps its place with a selection that matches none of its variants ("-").
FString BuildPacketString(const ConstructedPacket& packet);

}  // namespace PacketHelper
