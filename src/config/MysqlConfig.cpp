#include "config/MysqlConfig.h"

#include <nlohmann/json.hpp>

#include "config/JsonRead.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

// "KeepConnections": optional, false when absent. A value of another type is
// reported and counts as false; the rest of the section stays valid.
bool ReadKeepConnections(const nlohmann::json& section) {
  const auto found = section.find("KeepConnections");
  if (found == section.end() || found->is_null()) return false;
  if (found->is_boolean()) return found->get<bool>();
  TandorShop::Log().warn("Mysql.KeepConnections must be true or false; connections are not kept.");
  return false;
}

}  // namespace

ConfigMysql ReadMysqlConfig(const nlohmann::json& config) {
  ConfigMysql mysql;
  try {
    const nlohmann::json& section = Json::Section(config, "Mysql");
    mysql.server = section.value("server", std::string());
    mysql.username = section.value("username", std::string());
    mysql.password = section.value("password", std::string());
    mysql.database = section.value("database", std::string());
    mysql.tablePrefix = section.value("tablePrefix", std::string());
    mysql.port = section.value("port", 123);
    mysql.keepConnections = ReadKeepConnections(section);
    mysql.valid = true;
  } catch (const std::exception& e) {
    TandorShop::Log().warn("error in readDiscordLogging {}", e.what());
  }
  return mysql;
}

}  // namespace ConfigHelper
