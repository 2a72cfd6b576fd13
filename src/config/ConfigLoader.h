#pragma once
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace ConfigHelper {
// Finds and parses the configuration file (following "ConfigPathOverwrite" once).
// False, with the reason logged, when it cannot be read or parsed.
bool LoadConfigFile(nlohmann::json& config);

// The file a parsed configuration redirects to with "ConfigPathOverwrite", or
// empty when the key is absent or empty. A relative path is taken from
// `baseDir` (the server's folder). A value that is not a string throws, as the
// plugin then refuses the file.
std::string OverwritePath(const nlohmann::json& config, const std::string& baseDir);

// True for "/x", "\\x" and "D:/x" alike, whatever the platform the check runs on.
bool IsAbsolutePath(const std::string& path);
}  // namespace ConfigHelper
