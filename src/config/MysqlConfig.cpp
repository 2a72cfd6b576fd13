#include "config/MysqlConfig.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

#include "config/CatalogueJson.h"
#include "config/ConfigSchema.h"
#include "config/HostList.h"
#include "config/JsonRead.h"
#include "config/ReadReport.h"
#include "core/Log.h"

namespace ConfigHelper {
namespace {

// "KeepConnections": optional, false when absent. A value of another type is
// reported and counts as false; the rest of the section stays valid.
bool ReadKeepConnections(const nlohmann::json& section) {
  const auto found = section.find("KeepConnections");
  if (found == section.end() || found->is_null()) return false;
  if (found->is_boolean()) return found->get<bool>();
  Warn("Mysql.KeepConnections must be true or false; connections are not kept.");
  return false;
}

// "server" is one host or a list of database nodes; a list the connection could
// not follow makes the section unusable rather than pointing the shop somewhere else.
void RequireHostList(const ConfigMysql& mysql) {
  const HostList list = ParseHostList(mysql.server, static_cast<uint32_t>(mysql.port));
  if (!list.Valid())
    throw std::invalid_argument("\"server\" is not a host or a list of hosts (\"db1:3306,db2\"): " + list.error);
}

}  // namespace

ConfigMysql ReadMysqlConfig(const nlohmann::json& config) {
  ConfigMysql mysql;
  try {
    const nlohmann::json& section = Json::Section(config, "Mysql");
    if (section.is_null()) throw std::invalid_argument("the section \"Mysql\" is missing");
    Json::RequireObject(section, "Mysql");
    const auto text = [&](const char* key) {
      return Json::ReadString(section, key, SchemaDefault("Mysql", key).get<std::string>());
    };
    mysql.server = text("server");
    mysql.username = text("username");
    mysql.password = text("password");
    mysql.database = text("database");
    mysql.tablePrefix = text("tablePrefix");
    mysql.port = Json::ReadInt32(section, "port", SchemaDefault("Mysql", "port").get<int32_t>());
    RequireHostList(mysql);
    mysql.keepConnections = ReadKeepConnections(section);
    mysql.valid = true;
  } catch (const std::exception& e) {
    TandorShop::Log().warn("error in readDiscordLogging {}", e.what());
    RecordError("Mysql", e.what());
  }
  return mysql;
}

}  // namespace ConfigHelper
