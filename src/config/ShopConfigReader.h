#pragma once
#include <nlohmann/json_fwd.hpp>

#include "config/ShopConfig.h"

namespace ConfigHelper {
// Empties every list of the configuration; scalars, Discord and messages stay.
void ClearShopConfig(ShopConfigData& config);
// Reads every section but "Mysql" and "ConfigPathOverwrite". A missing "General"
// ends the read; a value of the wrong JSON type leaves out the key or entry that
// holds it. Each is logged as "Error in ShopConfig {}" naming the entry, and
// recorded in the report of the reading thread (config/ReadReport.h).
void ReadShopConfig(const nlohmann::json& root, ShopConfigData& config);
// True when the shop key is one of F1 to F10 (case-insensitive).
bool IsValidShopKey(const FString& key);
}  // namespace ConfigHelper
