#pragma once
#include <atomic>

namespace TandorShop {
// True once the mod channel installed its hook and its per-tick callback.
inline std::atomic<bool> ModChannelActive{false};
// True from the start of unload: work that would charge or take held units and
// has not started yet is dropped, since no delivery would follow it.
inline std::atomic<bool> Unloading{false};
}  // namespace TandorShop
