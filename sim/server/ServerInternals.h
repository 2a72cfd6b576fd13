#pragma once
// Small helpers the server's files share.
#include <algorithm>
#include <cctype>
#include <string>

#include "sim/world/World.h"

namespace sim {

inline std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

inline SimPlayerController* AsSim(const void* controller) {
  return static_cast<SimPlayerController*>(const_cast<void*>(controller));
}

}  // namespace sim
