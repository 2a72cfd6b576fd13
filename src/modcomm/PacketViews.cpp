#include "modcomm/PacketViews.h"

#include "config/ShopConfig.h"
#include "modcomm/GameAssets.h"
#include "modcomm/ViewBytes.h"

namespace ModComm {
namespace {

TArray<PacketView> g_packetViews;
TArray<CategoryView> g_categoryViews;
TArray<SellView> g_sellViews;

ItemVariantView ViewOf(const ConfigHelper::ConfigItemVariant& v) {
  ItemVariantView view;
  view.Name = v.Name;
  view.Quality = v.Quality;
  view.FixedArmor = v.FixedArmor;
  view.FixedDamage = v.FixedDamage;
  view.FixedDura = v.FixedDura;
  view.FixedHypo = v.FixedHypo;
  view.FixedHyper = v.FixedHyper;
  view.Id = v.Id;
  view.ItemId = v.ItemId;
  view.PriceIncrease = v.PriceIncrease;
  view.Amount = v.Amount;
  view.LimitBlueprintUse = v.LimitBlueprintUse;
  view.ForceBlueprint = v.ForceBlueprint ? 1 : 0;
  return view;
}

DinoVariantView ViewOf(const ConfigHelper::ConfigDinoVariant& v) {
  DinoVariantView view;
  view.Name = v.Name;
  view.ImprintQuality = v.ImprintQuality;
  view.SaddleQuality = v.SaddleQuality;
  view.FixedSaddleArmor = v.FixedSaddleArmor;
  view.Id = v.Id;
  view.DinoId = v.DinoId;
  view.PriceIncrease = v.PriceIncrease;
  view.Level = v.Level;
  view.Gender = static_cast<int32_t>(v.Gender);
  view.Neutered = v.Neutered ? 1 : 0;
  view.HasTraits = v.HasTraits ? 1 : 0;
  view.HasExtraOptions = (v.HasGachaResources || v.HasStryderItems) ? 1 : 0;
  return view;
}

CommandVariantView ViewOf(const ConfigHelper::ConfigCommandVariant& v) {
  CommandVariantView view;
  view.Name = v.Name;
  view.Title = v.Title;
  view.Description = v.Description;
  view.Id = v.Id;
  view.CommandId = v.CommandId;
  view.PriceIncrease = v.PriceIncrease;
  return view;
}

}  // namespace

PacketView BuildPacketView(const ConfigHelper::ConfigShopPacket& packet) {
  PacketView view;
  for (const auto& item : packet.Items) {
    ItemView& itemView = view.Items[view.Items.Emplace()];
    itemView.Id = item.Id;
    for (const auto& variant : item.Variants) itemView.Variants.Add(ViewOf(variant));
  }
  for (const auto& dino : packet.Dinos) {
    DinoView& dinoView = view.Dinos[view.Dinos.Emplace()];
    dinoView.Id = dino.Id;
    for (const auto& variant : dino.Variants) dinoView.Variants.Add(ViewOf(variant));
  }
  for (const auto& command : packet.Commands) {
    if (!command.VisibleInShop) continue;
    CommandView& commandView = view.Commands[view.Commands.Emplace()];
    commandView.Id = command.Id;
    for (const auto& variant : command.Variants) commandView.Variants.Add(ViewOf(variant));
  }
  view.PacketName = packet.PacketName;
  view.Description = packet.Description;
  view.EarliestAvailableAtServerTime = packet.EarliestAvailableAtServerTime;
  view.PlayerCooldown = packet.PlayerCooldown;
  view.ServerCooldown = packet.ServerCooldown;
  view.Id = packet.Id;
  view.CategoryId = packet.CategoryId;
  view.MaxPurchaseSameTime = packet.MaxPurchaseSameTime;
  view.MinCharLevel = packet.MinCharLevel;
  view.MaxCharLevel = packet.MaxCharLevel;
  view.Price = packet.Price;
  return view;
}

void BuildViews() {
  ClearViews();
  const auto& config = ConfigHelper::ShopConfig();
  for (const auto& packet : config.ShopPackets) g_packetViews.Add(BuildPacketView(packet));
  for (const auto& category : config.ShopCategories) g_categoryViews.Add(CategoryView{category.Name, nullptr, category.Id});
  for (const auto& item : config.ItemsToSell) {
    SellView view;
    view.Name = item.Name;
    view.Description = item.Description;
    view.Amount = item.Amount;
    view.Price = item.Price;
    view.MaxSellAtOnce = item.MaxSellAtOnce;
    g_sellViews.Add(std::move(view));
  }
}

void ClearViews() {
  g_packetViews.Empty();
  g_categoryViews.Empty();
  g_sellViews.Empty();
}

TArray<PacketView>& PacketViews() { return g_packetViews; }
TArray<CategoryView>& CategoryViews() { return g_categoryViews; }
TArray<SellView>& SellViews() { return g_sellViews; }

PacketView PreparedPacketView(const ConfigHelper::ConfigShopPacket& packet, const PacketView& stored) {
  PacketView view = stored;
  view.Icon = LoadTexture(packet.IconOverride.Path);
  for (int32_t i = 0; i < view.Items.Num() && i < packet.Items.Num(); ++i)
    for (int32_t j = 0; j < view.Items[i].Variants.Num() && j < packet.Items[i].Variants.Num(); ++j)
      view.Items[i].Variants[j].ItemClass = LoadClass(packet.Items[i].Variants[j].Blueprint.Path);
  for (int32_t i = 0; i < view.Dinos.Num() && i < packet.Dinos.Num(); ++i)
    for (int32_t j = 0; j < view.Dinos[i].Variants.Num() && j < packet.Dinos[i].Variants.Num(); ++j)
      view.Dinos[i].Variants[j].Saddle = packet.Dinos[i].Variants[j].Saddle.Path;
  int32_t shown = 0;
  for (const auto& command : packet.Commands) {
    if (!command.VisibleInShop) continue;
    if (shown >= view.Commands.Num()) break;
    auto& variants = view.Commands[shown++].Variants;
    for (int32_t j = 0; j < variants.Num() && j < command.Variants.Num(); ++j)
      variants[j].Icon = LoadTexture(command.Variants[j].IconOverride.Path);
  }
  return view;
}

TandorShop::StateSize ViewCacheSize() {
  return {static_cast<std::size_t>(g_packetViews.Num() + g_categoryViews.Num() + g_sellViews.Num()),
          ArrayBytes(g_packetViews) + ArrayBytes(g_categoryViews) + ArrayBytes(g_sellViews)};
}

}  // namespace ModComm
