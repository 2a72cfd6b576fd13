#include "db/DBSettings.h"

#include <mutex>

#include "config/ShopConfig.h"

namespace DBHelper {
namespace {
std::mutex g_mutex;
DBSettings g_settings;
}  // namespace

void setConfig(const ConfigHelper::ConfigMysql& config) {
  std::lock_guard lock(g_mutex);
  g_settings.server = config.server;
  g_settings.username = config.username;
  g_settings.password = config.password;
  g_settings.database = config.database;
  g_settings.tablePrefix = config.tablePrefix;
  g_settings.port = static_cast<uint32_t>(config.port);
}

DBSettings Settings() {
  std::lock_guard lock(g_mutex);
  return g_settings;
}

}  // namespace DBHelper
