#pragma once
#include <cstdint>

namespace TandorShop::Clock {
// Unix time in whole seconds, from the host's clock.
int64_t NowUnix();
// The same clock in milliseconds.
int64_t NowUnixMillis();
}  // namespace TandorShop::Clock
