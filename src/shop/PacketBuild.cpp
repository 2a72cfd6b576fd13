// The stored form of a parsed packet string.
#include <string>

#include "shop/PacketHelper.h"

namespace PacketHelper {
namespace {

template <typename Variant>
std::u16string JoinNames(const std::vector<const Variant*>& variants) {
  std::u16string text;
  for (std::size_t k = 0; k < variants.size(); ++k) {
    if (k > 0) text += u',';
    text += variants[k]->Name.View();
  }
  return text;
}

}  // namespace

FString BuildPacketString(const ConstructedPacket& cp) {
  if (cp.PacketName.IsEmpty()) return FString();
  std::u16string text(cp.IsReward ? cp.RewardName.View() : cp.PacketName.View());
  text += u",1";
  if (cp.IsReward || cp.AllVariants) return FString(text);

  std::vector<const ConfigHelper::ConfigCommandVariant*> visible;
  for (std::size_t k = 0; k < cp.CommandVariants.size() && k < cp.CommandGroups.size(); ++k)
    if (cp.CommandGroups[k]->VisibleInShop) visible.push_back(cp.CommandVariants[k]);

  text += u';';
  text += JoinNames(cp.ItemVariants);
  text += u';';
  text += JoinNames(cp.DinoVariants);
  text += u';';
  text += JoinNames(visible);
  return FString(text);
}

}  // namespace PacketHelper
