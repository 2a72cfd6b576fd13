#pragma once
// The plugin's logger, shared by the game thread and the worker threads.
#include <memory>

#include <spdlog/logger.h>

namespace TandorShop {

inline constexpr const char* PluginName = "TandorShop";

// Creates the logger on the host's sinks ("%D %R [%n][%l] %v", flush at info).
void CreateLogger();
// Drops the logger (Plugin_Unload's last step).
void DestroyLogger();

// The logger. Before CreateLogger (or after DestroyLogger) a logger without
// sinks is returned, so a call never fails.
spdlog::logger& Log();

}  // namespace TandorShop
