#pragma once
#include <atomic>

namespace TandorShop {
// True once the mod channel installed its hook and its per-tick callback.
inline std::atomic<bool> ModChannelActive{false};
}  // namespace TandorShop
