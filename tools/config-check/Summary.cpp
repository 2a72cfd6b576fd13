#include "Summary.h"

#include <fmt/format.h>

CatalogueSummary Summarise(const ConfigHelper::ConfigCatalogue& catalogue) {
  CatalogueSummary s;
  s.Categories = catalogue.ShopCategories.Num();
  s.Packets = catalogue.ShopPackets.Num();
  for (const auto& packet : catalogue.ShopPackets) {
    s.Items += packet.Items.Num();
    for (const auto& item : packet.Items) s.ItemVariants += item.Variants.Num();
    s.Dinos += packet.Dinos.Num();
    for (const auto& dino : packet.Dinos) s.DinoVariants += dino.Variants.Num();
    s.Commands += packet.Commands.Num();
    for (const auto& command : packet.Commands) {
      s.CommandVariants += command.Variants.Num();
      if (!command.VisibleInShop) ++s.HiddenCommands;
    }
  }
  s.ItemsToSell = catalogue.ItemsToSell.Num();
  s.RewardPackets = catalogue.RewardPackets.Num();
  s.GroupPrivileges = catalogue.GroupPrivileges.Num();
  s.TimeSettings = catalogue.ExtraTimeSettings.Num();
  s.GachaResources = catalogue.GachaResources.Num();
  s.StryderItems = catalogue.StryderItems.Num();
  return s;
}

std::string FormatSummary(const CatalogueSummary& s) {
  std::string text;
  const auto line = [&](const char* what, int count) { text += fmt::format("  {:<18}{:>6}\n", what, count); };
  const auto lineWithVariants = [&](const char* what, int count, int variants) {
    text += fmt::format("  {:<18}{:>6}  ({} variants)\n", what, count, variants);
  };
  line("categories", s.Categories);
  line("packets", s.Packets);
  lineWithVariants("items", s.Items, s.ItemVariants);
  lineWithVariants("dinos", s.Dinos, s.DinoVariants);
  text += fmt::format("  {:<18}{:>6}  ({} variants, {} hidden)\n", "commands", s.Commands, s.CommandVariants,
                      s.HiddenCommands);
  line("items to sell", s.ItemsToSell);
  line("reward packets", s.RewardPackets);
  line("group privileges", s.GroupPrivileges);
  line("time settings", s.TimeSettings);
  line("gacha resources", s.GachaResources);
  line("stryder items", s.StryderItems);
  return text;
}
