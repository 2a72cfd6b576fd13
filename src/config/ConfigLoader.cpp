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

bool LoadConfigFile(nlohmann::json& config) {
  try {
    ParseFile(PluginConfigPath(), "Can't open plugin config.json", config);
    if (config.is_object() && config.contains("ConfigPathOverwrite")) {
      const std::string overwrite = config.value("ConfigPathOverwrite", std::string());
      if (!overwrite.empty()) {
        config = nlohmann::json();
        ParseFile(overwrite, "Can't open config.json from overwrite", config);
      }
    }
    return true;
  } catch (const std::exception& e) {
    TandorShop::Log().error(e.what());
    return false;
  }
}

}  // namespace ConfigHelper
