// The stored form of a parsed packet string.
#include <string>

#include "shop/PacketHelper.h"

namespace PacketHelper {
namespace {

using namespace ConfigHelper;

template <typename Variant>
std::u16string JoinNames(const std::vector<const Variant*>& variants) {
  std::u16string text;
  for (std::size_t k = 0; k < variants.size(); ++k) {
    if (k > 0) text += u',';
    text += variants[k]->Name.View();
  }
  return text;
}

// A selection that names none of the entry's variants: "-", or longer when a
// variant is called so.
template <typename Group>
std::u16string NoVariantOf(const Group& group) {
  std::u16string marker = u"-";
  const auto taken = [&] {
    return group.Variants.FindByPredicate(
               [&](const auto& v) { return CompareIgnoreCase(v.Name.View(), marker) == 0; }) != nullptr;
  };
  while (taken()) marker += u'-';
  return marker;
}

// Items and dinos: one selection per entry of the packet, so that a parse by
// name finds each selected variant at its entry again. An entry that was left
// out gets a selection that matches nothing.
template <typename Group, typename Variant>
std::u16string PerEntrySection(const TArray<Group>* entries, const std::vector<const Group*>& groups,
                               const std::vector<const Variant*>& variants) {
  if (entries == nullptr || variants.empty() || variants.size() == static_cast<std::size_t>(entries->Num()))
    return JoinNames(variants);
  std::u16string text;
  for (int32_t k = 0; k < entries->Num(); ++k) {
    if (k > 0) text += u',';
    const Group& entry = (*entries)[k];
    const Variant* chosen = nullptr;
    for (std::size_t i = 0; i < groups.size() && i < variants.size() && chosen == nullptr; ++i)
      if (groups[i] == &entry) chosen = variants[i];
    text += chosen != nullptr ? std::u16string(chosen->Name.View()) : NoVariantOf(entry);
  }
  return text;
}

}  // namespace

FString BuildPacketString(const ConstructedPacket& cp) {
  if (cp.PacketName.IsEmpty()) return FString();
  std::u16string text(cp.IsReward ? cp.RewardName.View() : cp.PacketName.View());
  text += u",1";
  if (cp.IsReward || cp.AllVariants) return FString(text);

  std::vector<const ConfigCommandVariant*> visible;
  for (std::size_t k = 0; k < cp.CommandVariants.size() && k < cp.CommandGroups.size(); ++k)
    if (cp.CommandGroups[k]->VisibleInShop) visible.push_back(cp.CommandVariants[k]);

  text += u';';
  text += PerEntrySection(cp.Packet ? &cp.Packet->Items : nullptr, cp.ItemGroups, cp.ItemVariants);
  text += u';';
  text += PerEntrySection(cp.Packet ? &cp.Packet->Dinos : nullptr, cp.DinoGroups, cp.DinoVariants);
  text += u';';
  text += JoinNames(visible);
  return FString(text);
}

}  // namespace PacketHelper
