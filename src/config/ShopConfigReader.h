#pragma once
#include <nlohmann/json_fwd.hpp>

#include "config/ShopConfig.h"

namespace ConfigHelper {
// Empties every list of the configuration; scalars, Discord and messages stay.
void ClearShopConfig(ShopConfigData& config);
// Reads every section but "Mysql" and "ConfigPathOverwrite". A wrong JSON type or
// a missing "General" ends the read, logged as "Error in ShopConfig {}".
void ReadShopConfig(const nlohmann::json& root, ShopConfigData& config);
// True when the shop key is one of F1 to F10 (case-insensitive).
bool IsValidShopKey(const FString& key);
}  // namespace ConfigHelper
