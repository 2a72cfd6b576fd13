#include "shop/RedeemViews.h"

#include <algorithm>
#include <vector>

#include "config/ShopConfig.h"
#include "modcomm/PacketViews.h"

namespace TandorShop::RedeemViews {
namespace {

template <typename Variant>
bool Selected(const std::vector<const Variant*>& selected, int32_t id) {
  return std::any_of(selected.begin(), selected.end(), [id](const Variant* v) { return v != nullptr && v->Id == id; });
}

// Keeps, in each entry of views, only the selected variants; entries left empty go.
template <typename View, typename Variant>
void Restrict(TArray<View>& views, const std::vector<const Variant*>& selected) {
  TArray<View> kept;
  for (View& view : views) {
    TArray<std::remove_reference_t<decltype(view.Variants[0])>> variants;
    for (auto& variant : view.Variants)
      if (Selected(selected, variant.Id)) variants.Add(variant);
    if (variants.IsEmpty()) continue;
    view.Variants = std::move(variants);
    kept.Add(std::move(view));
  }
  views = std::move(kept);
}

ModComm::PacketView PacketViewOf(const ConfigHelper::ConfigShopPacket& packet) {
  const auto& packets = ConfigHelper::ShopConfig().ShopPackets;
  for (int32_t i = 0; i < packets.Num() && i < ModComm::PacketViews().Num(); ++i)
    if (&packets[i] == &packet) return ModComm::PreparedPacketView(packet, ModComm::PacketViews()[i]);
  return ModComm::PreparedPacketView(packet, ModComm::BuildPacketView(packet));
}

}  // namespace

ModComm::RedeemView ViewOf(const PacketHelper::ConstructedPacket& packet, int32_t amount) {
  ModComm::RedeemView view;
  view.Packet = PacketViewOf(*packet.Packet);
  if (!packet.AllVariants) {
    Restrict(view.Packet.Items, packet.ItemVariants);
    Restrict(view.Packet.Dinos, packet.DinoVariants);
    Restrict(view.Packet.Commands, packet.CommandVariants);
  }
  view.Amount = amount;
  view.RewardId = packet.RewardId;
  view.AllVariants = packet.AllVariants ? 1 : 0;
  return view;
}

}  // namespace TandorShop::RedeemViews
