#include "config/LoadSummary.h"

#include <fmt/format.h>

namespace ConfigHelper {

CatalogueCounts CountCatalogue(const ConfigCatalogue& catalogue) {
  CatalogueCounts counts;
  counts.Categories = catalogue.ShopCategories.Num();
  counts.Packets = catalogue.ShopPackets.Num();
  for (const auto& packet : catalogue.ShopPackets) {
    for (const auto& item : packet.Items) counts.Variants += item.Variants.Num();
    for (const auto& dino : packet.Dinos) counts.Variants += dino.Variants.Num();
    for (const auto& command : packet.Commands) counts.Variants += command.Variants.Num();
  }
  return counts;
}

std::string LoadSummaryLine(const std::string& version, const char* what, const CatalogueCounts& counts,
                            const ConfigMysql& mysql) {
  return fmt::format("TandorShop {} {}: {} categories, {} packets, {} variants; database {}:{}/{}, table prefix \"{}\"",
                     version, what, counts.Categories, counts.Packets, counts.Variants, mysql.server, mysql.port,
                     mysql.database, mysql.tablePrefix);
}

}  // namespace ConfigHelper
