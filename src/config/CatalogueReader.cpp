// The order in which the catalogue sections are read: privileges, categories,
// items to sell, packets (then sorted), and reward packets, which need the packets.
#include "config/CatalogueReader.h"

#include "config/ShopConfig.h"

namespace ConfigHelper {

void ReadCatalogue(const nlohmann::json& root, ConfigCatalogue& config) {
  CatalogueIdCounters ids;
  ReadGroupPrivileges(root, config);
  ReadShopCategories(root, config, ids);
  ReadItemsToSell(root, config, ids);
  ReadShopPackets(root, config, ids);
  ReadRewardPackets(root, config, ids);
}

void ReadCatalogueSections(const nlohmann::json& root, ShopConfigData& config) { ReadCatalogue(root, config); }

}  // namespace ConfigHelper
