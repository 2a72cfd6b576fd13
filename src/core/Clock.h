#pragma once
#include <cstdint>

namespace TandorShop::Clock {
// Unix time in whole seconds, from the host's clock.
int64_t NowUnix();
}  // namespace TandorShop::Clock
