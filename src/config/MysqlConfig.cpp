#include "config/MysqlConfig.h"

#include <nlohmann/json.hpp>

#include "config/JsonRead.h"
#include "core/Log.h"

namespace ConfigHelper {

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
    mysql.valid = true;
  } catch (const std::exception& e) {
    TandorShop::Log().warn("error in readDiscordLogging {}", e.what());
  }
  return mysql;
}

}  // namespace ConfigHelper
