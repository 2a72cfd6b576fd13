#include "core/Log.h"

#include <atomic>
#include <cstdlib>
#include <string_view>

#include <spdlog/spdlog.h>

#include "AsaApi/Logging.h"

namespace TandorShop {
namespace {

std::shared_ptr<spdlog::logger>& Current() {
  static std::shared_ptr<spdlog::logger> logger = std::make_shared<spdlog::logger>(PluginName);
  return logger;
}

// TANDORSHOP_LOG_LEVEL ("debug", "info", "warn", ...) lowers or raises the level
// of the plugin's lines, e.g. to see each retried transaction; unset or unknown
// names keep info.
spdlog::level::level_enum LevelFromEnvironment() {
  const char* name = std::getenv("TANDORSHOP_LOG_LEVEL");
  if (name == nullptr) return spdlog::level::info;
  const spdlog::level::level_enum level = spdlog::level::from_str(name);
  return level == spdlog::level::off && std::string_view(name) != "off" ? spdlog::level::info : level;
}

}  // namespace

void CreateLogger() {
  auto& sinks = GetLogSinks();
  auto logger = std::make_shared<spdlog::logger>(PluginName, sinks.begin(), sinks.end());
  logger->set_pattern("%D %R [%n][%l] %v");
  logger->flush_on(spdlog::level::info);
  logger->set_level(LevelFromEnvironment());
  std::atomic_store(&Current(), logger);
}

void DestroyLogger() { std::atomic_store(&Current(), std::make_shared<spdlog::logger>(PluginName)); }

spdlog::logger& Log() {
  // The shared pointer itself stays alive until the library unloads, and is only
  // replaced on the game thread while no worker runs.
  return *std::atomic_load(&Current());
}

}  // namespace TandorShop
