// The order in which the catalogue sections are read: privileges, categories,
// items to sell, packets (then sorted), and reward packets, which need the packets.
#include "config/CatalogueReader.h"

#include "config/ReadReport.h"
#include "config/ShopConfig.h"

namespace ConfigHelper {

void ReadCatalogue(const nlohmann::json& root, ConfigCatalogue& config) {
  CatalogueIdCounters ids;
  // A section of the wrong type is reported and read as empty; an entry of the
  // wrong type is reported and left out (each section guards its entries).
  ReadGuarded("GroupPrivileges", [&] { ReadGroupPrivileges(root, config); });
  ReadGuarded("ShopCategories", [&] { ReadShopCategories(root, config, ids); });
  ReadGuarded("ItemsToSell", [&] { ReadItemsToSell(root, config, ids); });
  ReadGuarded("ShopPackets", [&] { ReadShopPackets(root, config, ids); });
  ReadGuarded("RewardPackets", [&] { ReadRewardPackets(root, config, ids); });
}

void ReadCatalogueSections(const nlohmann::json& root, ShopConfigData& config) { ReadCatalogue(root, config); }

}  // namespace ConfigHelper
