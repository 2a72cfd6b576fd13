#include "config/ConfigRead.h"

#include <nlohmann/json.hpp>

#include "config/MysqlConfig.h"
#include "config/ShopConfigReader.h"

namespace ConfigHelper {

ConfigRead ReadConfiguration(const nlohmann::json& root, const ShopConfigData& previous) {
  ConfigRead read;
  ReportScope scope(read.Report);
  read.Mysql = ReadMysqlConfig(root);
  read.Shop = std::make_unique<ShopConfigData>();
  read.Shop->CopySettingsFrom(previous);
  ReadShopConfig(root, *read.Shop);
  return read;
}

}  // namespace ConfigHelper
