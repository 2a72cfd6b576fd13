#pragma once
#include "AsaApi/GameTables.h"

namespace Game::FGenericPlatformStricmp_ {
inline const GameFunction<int(const char16_t*, const char*)> StricmpWideNarrow{
    "FGenericPlatformStricmp.Stricmp(wchar_t*,char*)"};
inline const GameFunction<int(const char16_t*, const char16_t*)> StricmpWide{
    "FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)"};
}  // namespace Game::FGenericPlatformStricmp_
