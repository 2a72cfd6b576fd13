#include "db/DBSettings.h"

#include "config/ShopConfig.h"

namespace DBHelper {
namespace {
DBSettings g_settings;
}

void setConfig(const ConfigHelper::ConfigMysql& config) {
  g_settings.server = config.server;
  g_settings.username = config.username;
  g_settings.password = config.password;
  g_settings.database = config.database;
  g_settings.tablePrefix = config.tablePrefix;
  g_settings.port = static_cast<uint32_t>(config.port);
}

const DBSettings& Settings() { return g_settings; }

}  // namespace DBHelper
