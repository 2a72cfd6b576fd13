#pragma once
#include <nlohmann/json_fwd.hpp>

#include "config/ShopConfig.h"

namespace ConfigHelper {
// Empties every list of the configuration.
void ClearShopConfig(ShopConfigData& config);
// Reads every section but "Mysql" and "ConfigPathOverwrite" into `config`, whose
// settings start over from the values before the first read: what the file
// does not say takes its default, nothing of an earlier read stays. A missing
// "General" ends the read; a key of "General" of the wrong JSON type takes its
// documented default (config/ConfigSchema.h); another value of the wrong type
// leaves out the entry that holds it. Each is logged as "Error in ShopConfig {}"
// naming the entry, and recorded in the report of the reading thread
// (config/ReadReport.h).
void ReadShopConfig(const nlohmann::json& root, ShopConfigData& config);
// True when the shop key is one of F1 to F10 (case-insensitive).
bool IsValidShopKey(const FString& key);
}  // namespace ConfigHelper
