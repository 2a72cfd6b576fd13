#include "config/ConfigLoader.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Tools.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

std::string PluginConfigPath() {
  return AsaApi::Tools::GetCurrentDir() + fmt::format("/ArkApi/Plugins/{}/config.json", TandorShop::PluginName);
}

void ParseFile(const std::string& path, const char* openError, nlohmann::json& out) {
  std::ifstream file(path);
  if (!file.is_open()) throw std::runtime_error(openError);
  out = nlohmann::json::parse(file);
}

}  // namespace

bool IsAbsolutePath(const std::string& path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  const bool driveLetter = path.size() >= 2 && path[1] == ':' &&
                           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return driveLetter;
}

std::string OverwritePath(const nlohmann::json& config, const std::string& baseDir) {
  if (!config.is_object()) return {};
  const auto found = config.find("ConfigPathOverwrite");
  if (found == config.end()) return {};
  if (!found->is_string()) {
    throw std::runtime_error(
        fmt::format("type must be string, but is {} (key \"ConfigPathOverwrite\")", found->type_name()));
  }
  const std::string& path = found->get_ref<const std::string&>();
  if (path.empty() || IsAbsolutePath(path) || baseDir.empty()) return path;
  return baseDir + "/" + path;
}

bool LoadConfigFile(nlohmann::json& config) {
  try {
    ParseFile(PluginConfigPath(), "Can't open plugin config.json", config);
    const std::string overwrite = OverwritePath(config, AsaApi::Tools::GetCurrentDir());
    if (!overwrite.empty()) {
      config = nlohmann::json();
      ParseFile(overwrite, "Can't open config.json from overwrite", config);
    }
    return true;
  } catch (const std::exception& e) {
    TandorShop::Log().error(e.what());
    return false;
  }
}

}  // namespace ConfigHelper
