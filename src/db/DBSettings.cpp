#include "db/DBSettings.h"

#include <mutex>

#include "config/ShopConfig.h"

namespace DBHelper {
namespace {
std::mutex g_mutex;
DBSettings g_settings;
}  // namespace

void setConfig(const ConfigHelper::ConfigMysql& config) {
  DBSettings next;
  next.server = config.server;
  next.username = config.username;
  next.password = config.password;
  next.database = config.database;
  next.tablePrefix = config.tablePrefix;
  next.port = static_cast<uint32_t>(config.port);
  next.keepConnections = config.keepConnections;

  std::lock_guard lock(g_mutex);
  const bool sameConnection = next.server == g_settings.server && next.username == g_settings.username &&
                              next.password == g_settings.password && next.database == g_settings.database &&
                              next.port == g_settings.port;
  next.generation = sameConnection ? g_settings.generation : g_settings.generation + 1;
  g_settings = std::move(next);
}

DBSettings Settings() {
  std::lock_guard lock(g_mutex);
  return g_settings;
}

}  // namespace DBHelper
