#pragma once
#include <nlohmann/json_fwd.hpp>

#include "config/ShopConfig.h"

namespace ConfigHelper {
// The "Mysql" section; valid only when the whole section was read.
ConfigMysql ReadMysqlConfig(const nlohmann::json& config);
}  // namespace ConfigHelper
