#pragma once
// One complete read of a parsed configuration into fresh records, with what was
// found wrong. The plugin (at load and on reload) and the configuration checker
// read through here, so they judge a file alike.
#include <memory>

#include <nlohmann/json_fwd.hpp>

#include "config/ReadReport.h"
#include "config/ShopConfig.h"

namespace ConfigHelper {

struct ConfigRead {
  ConfigMysql Mysql;
  std::unique_ptr<ShopConfigData> Shop;
  ReadReport Report;

  // True when the file may replace a running configuration: no error anywhere
  // and a usable "Mysql" section. Warnings (skipped entries) do not count.
  bool Usable() const { return Mysql.valid && !Report.HasErrors(); }
};

// Reads "Mysql" and the rest of the document into fresh records: a reload gives
// exactly what a start on the same file gives, whatever ran before.
ConfigRead ReadConfiguration(const nlohmann::json& root);

}  // namespace ConfigHelper
