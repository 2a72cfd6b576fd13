#pragma once
// The line logged at every load and reload: what the plugin runs with and where
// its database is. Never the password.
#include <string>

#include "config/ShopConfig.h"

namespace ConfigHelper {

struct CatalogueCounts {
  int Categories = 0;
  int Packets = 0;
  int Variants = 0;  // item, dino and command variants of every packet
};

CatalogueCounts CountCatalogue(const ConfigCatalogue& catalogue);

// e.g. TandorShop 1.1.0 loaded: 4 categories, 10 packets, 23 variants; database
// 127.0.0.1:3306/tandorshop, table prefix "shop"
std::string LoadSummaryLine(const std::string& version, const char* what, const CatalogueCounts& counts,
                            const ConfigMysql& mysql);

}  // namespace ConfigHelper
