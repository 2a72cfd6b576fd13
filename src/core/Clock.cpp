#include "core/Clock.h"

#include "AsaApi/Platform.h"

int64_t TandorShop::Clock::NowUnix() { return host::NowUnixSeconds(); }

int64_t TandorShop::Clock::NowUnixMillis() { return host::NowUnixMillis(); }
