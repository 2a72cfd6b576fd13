#include "core/Log.h"

#include <atomic>

#include <spdlog/spdlog.h>

#include "AsaApi/Logging.h"

namespace TandorShop {
namespace {

std::shared_ptr<spdlog::logger>& Current() {
  static std::shared_ptr<spdlog::logger> logger = std::make_shared<spdlog::logger>(PluginName);
  return logger;
}

}  // namespace

void CreateLogger() {
  auto& sinks = GetLogSinks();
  auto logger = std::make_shared<spdlog::logger>(PluginName, sinks.begin(), sinks.end());
  logger->set_pattern("%D %R [%n][%l] %v");
  logger->flush_on(spdlog::level::info);
  std::atomic_store(&Current(), logger);
}

void DestroyLogger() { std::atomic_store(&Current(), std::make_shared<spdlog::logger>(PluginName)); }

spdlog::logger& Log() {
  // The shared pointer itself stays alive until the library unloads, and is only
  // replaced on the game thread while no worker runs.
  return *std::atomic_load(&Current());
}

}  // namespace TandorShop
