// Parsing of packet strings into the packet and its selected variants.
#include "config/CatalogueReader.h"
#include "config/ShopConfig.h"
#include "config/TextSplit.h"
#include "shop/PacketHelper.h"

namespace PacketHelper {
namespace {

using namespace ConfigHelper;
using Selections = std::vector<std::u16string_view>;

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) { return CompareIgnoreCase(a, b) == 0; }

template <typename Variant>
bool Matches(const Variant& variant, std::u16string_view selection, bool selectById) {
  if (!selectById) return EqualsIgnoreCase(variant.Name.View(), selection);
  if (!Text::IsDigits(selection)) return false;
  const auto id = Text::DigitsToInt32(selection);
  return id && *id == variant.Id;
}

template <typename Group>
auto FindVariant(const Group& group, std::u16string_view selection, bool selectById)
    -> decltype(&group.Variants[0]) {
  return group.Variants.FindByPredicate([&](const auto& v) { return Matches(v, selection, selectById); });
}

// Resolves the packet named by the first selection, through a reward packet or directly.
bool ResolvePacket(ConstructedPacket& cp, std::u16string_view name, int32_t rewardId, const ConfigCatalogue& catalogue) {
  const ConfigRewardPacket* reward = catalogue.RewardPackets.FindByPredicate([&](const ConfigRewardPacket& r) {
    return rewardId == -1 ? EqualsIgnoreCase(r.Name.View(), name) : r.Id == rewardId;
  });
  if (reward != nullptr && reward->ShopPacket != nullptr) {
    cp.Packet = reward->ShopPacket;
    cp.PacketName = reward->ShopPacket->PacketName;
    cp.RewardName = reward->Name;
    cp.RewardId = reward->Id;
    cp.IsReward = true;
    return true;
  }
  cp.Packet = catalogue.ShopPackets.FindByPredicate(
      [&](const ConfigShopPacket& packet) { return EqualsIgnoreCase(packet.PacketName.View(), name); });
  if (cp.Packet == nullptr) return false;
  cp.PacketName = cp.Packet->PacketName;
  return true;
}

// Every variant of every entry, each paired with its entry.
template <typename Group, typename Variant>
void SelectAll(const TArray<Group>& groups, std::vector<const Group*>& selectedGroups,
               std::vector<const Variant*>& selectedVariants) {
  for (const Group& group : groups) {
    for (const Variant& variant : group.Variants) {
      selectedGroups.push_back(&group);
      selectedVariants.push_back(&variant);
    }
  }
}

// One selection per entry, in entry order; any other count selects nothing.
template <typename Group, typename Variant>
void SelectPerEntry(const TArray<Group>& groups, const Selections& selections, bool selectById,
                    std::vector<const Group*>& selectedGroups, std::vector<const Variant*>& selectedVariants) {
  if (groups.Num() == 0 || selections.size() != static_cast<std::size_t>(groups.Num())) return;
  for (int32_t k = 0; k < groups.Num(); ++k) {
    if (const Variant* variant = FindVariant(groups[k], selections[k], selectById)) {
      selectedGroups.push_back(&groups[k]);
      selectedVariants.push_back(variant);
    }
  }
}

// Visible commands take every selection naming one of their variants; a hidden
// command always gets its first variant.
void SelectCommands(const TArray<ConfigCommand>& commands, const Selections& selections, bool selectById,
                    ConstructedPacket& cp) {
  for (const ConfigCommand& command : commands) {
    if (!command.VisibleInShop && command.Variants.Num() > 0) {
      cp.CommandGroups.push_back(&command);
      cp.CommandVariants.push_back(&command.Variants[0]);
      continue;
    }
    for (const std::u16string_view selection : selections) {
      if (const ConfigCommandVariant* variant = FindVariant(command, selection, selectById)) {
        cp.CommandGroups.push_back(&command);
        cp.CommandVariants.push_back(variant);
      }
    }
  }
}

}  // namespace

int32_t ParseAmount(std::u16string_view text) {
  const bool negative = text.size() > 1 && text.front() == u'-';
  const std::u16string_view digits = negative ? text.substr(1) : text;
  if (!Text::IsDigits(digits)) return 1;
  const auto value = Text::DigitsToInt32(digits);
  if (!value) return 0;
  return negative ? -*value : *value;
}

ConstructedPacket ParsePacketString(const FString& text, bool selectById, int32_t rewardId,
                                    const ConfigCatalogue& catalogue) {
  ConstructedPacket cp;
  const auto sections = Text::Split(text.View(), u';', true);
  const auto head = Text::Split(sections[0], u',', false);
  if (head.empty() || !ResolvePacket(cp, head[0], rewardId, catalogue)) return cp;
  if (head.size() > 1) cp.Amount = ParseAmount(head[1]);

  const ConfigShopPacket& packet = *cp.Packet;
  if (sections.size() < 4) {
    cp.AllVariants = true;
    SelectAll(packet.Items, cp.ItemGroups, cp.ItemVariants);
    SelectAll(packet.Dinos, cp.DinoGroups, cp.DinoVariants);
    SelectAll(packet.Commands, cp.CommandGroups, cp.CommandVariants);
    cp.Parsed = true;
    return cp;
  }
  SelectPerEntry(packet.Items, Text::Split(sections[1], u',', false), selectById, cp.ItemGroups, cp.ItemVariants);
  SelectPerEntry(packet.Dinos, Text::Split(sections[2], u',', false), selectById, cp.DinoGroups, cp.DinoVariants);
  SelectCommands(packet.Commands, Text::Split(sections[3], u',', false), selectById, cp);
  cp.Parsed = true;
  return cp;
}

ConstructedPacket ParsePacketString(const FString& text, bool selectById, int32_t rewardId) {
  return ParsePacketString(text, selectById, rewardId, ConfigHelper::ShopConfig());
}

}  // namespace PacketHelper
