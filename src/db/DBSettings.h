#pragma once
// DBHelper's own copy of the database settings.
#include <cstdint>
#include <string>

namespace ConfigHelper {
struct ConfigMysql;
}

namespace DBHelper {

struct DBSettings {
  std::string server;
  std::string username;
  std::string password;
  std::string database;
  std::string tablePrefix;
  uint32_t port = 0;
};

// Copies the Mysql section; runs at start and at every reload.
void setConfig(const ConfigHelper::ConfigMysql& config);
// The settings every operation connects with.
const DBSettings& Settings();

}  // namespace DBHelper
