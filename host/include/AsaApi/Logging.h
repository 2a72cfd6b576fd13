#pragma once
#include <vector>

#include <spdlog/common.h>

// The shared log sinks of the hosting process.
std::vector<spdlog::sink_ptr>& GetLogSinks();
