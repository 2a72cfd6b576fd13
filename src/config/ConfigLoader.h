#pragma once
#include <nlohmann/json_fwd.hpp>

namespace ConfigHelper {
// Finds and parses the configuration file (following "ConfigPathOverwrite" once).
// False, with the reason logged, when it cannot be read or parsed.
bool LoadConfigFile(nlohmann::json& config);
}  // namespace ConfigHelper
