#include "modcomm/ViewBytes.h"

namespace ModComm {

using TandorShop::OwnedBytes;

std::size_t OwnedBytes(const ItemVariantView& view) { return OwnedBytes(view.Name); }
std::size_t OwnedBytes(const ItemView& view) { return ArrayBytes(view.Variants); }

std::size_t OwnedBytes(const DinoVariantView& view) {
  return OwnedBytes(view.Name) + OwnedBytes(view.Saddle) + OwnedBytes(view.DescriptiveName) +
         TandorShop::BufferBytes(view.Tags);
}
std::size_t OwnedBytes(const DinoView& view) { return ArrayBytes(view.Variants); }

std::size_t OwnedBytes(const CommandVariantView& view) {
  return OwnedBytes(view.Name) + OwnedBytes(view.Title) + OwnedBytes(view.Description);
}
std::size_t OwnedBytes(const CommandView& view) { return ArrayBytes(view.Variants); }

std::size_t OwnedBytes(const PacketView& view) {
  return ArrayBytes(view.Items) + ArrayBytes(view.Dinos) + ArrayBytes(view.Commands) + OwnedBytes(view.PacketName) +
         OwnedBytes(view.Description);
}
std::size_t OwnedBytes(const RedeemView& view) { return OwnedBytes(view.Packet); }
std::size_t OwnedBytes(const SellView& view) { return OwnedBytes(view.Name) + OwnedBytes(view.Description); }
std::size_t OwnedBytes(const CategoryView& view) { return OwnedBytes(view.Name); }

std::size_t OwnedBytes(const A_TradeTarget& target) {
  std::size_t bytes = OwnedBytes(target.EosId) + TandorShop::BufferBytes(target.Names);
  for (const FString& name : target.Names) bytes += OwnedBytes(name);
  return bytes;
}
std::size_t OwnedBytes(const A_ShopLogEntry& entry) { return OwnedBytes(entry.Packet) + OwnedBytes(entry.Description); }
std::size_t OwnedBytes(const A_TradeLogEntry& entry) {
  return OwnedBytes(entry.PartnerEosId) + OwnedBytes(entry.PartnerName);
}

}  // namespace ModComm
