#include "config/ConfigRead.h"

#include <nlohmann/json.hpp>

#include "config/MysqlConfig.h"
#include "config/ShopConfigReader.h"

namespace ConfigHelper {

ConfigRead ReadConfiguration(const nlohmann::json& root) {
  ConfigRead read;
  ReportScope scope(read.Report);
  read.Mysql = ReadMysqlConfig(root);
  read.Shop = std::make_unique<ShopConfigData>();
  ReadShopConfig(root, *read.Shop);
  return read;
}

}  // namespace ConfigHelper
