#include "core/Clock.h"

#include "AsaApi/Platform.h"

int64_t TandorShop::Clock::NowUnix() { return host::NowUnixSeconds(); }
