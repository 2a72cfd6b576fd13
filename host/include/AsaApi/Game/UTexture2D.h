#pragma once
#include <cstdint>

#include "AsaApi/Game/Classes.h"

struct UTexture2D : UObject {};
struct UPackageMap;
struct FLinkerInstancingContext;

namespace Game::UTexture2D_ {
inline const GameFunction<UClass*()> StaticClass{"UTexture2D.StaticClass()"};
}
namespace Game::Global_ {
// (class, outer, path, file name, load flags, package map, verify import, instancing context)
inline const GameFunction<UObject*(UClass*, UObject*, const char16_t*, const char16_t*, uint32_t, UPackageMap*, bool,
                                   FLinkerInstancingContext*)>
    StaticLoadObject{
        "Global.StaticLoadObject(UClass*,UObject*,wchar_t*,wchar_t*,unsignedint,UPackageMap*,bool,"
        "FLinkerInstancingContext*)"};
}  // namespace Game::Global_
