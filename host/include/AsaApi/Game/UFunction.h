#pragma once
#include <cstdint>

#include "AsaApi/FName.h"
#include "AsaApi/Game/Classes.h"

struct UFunction : UStruct {};

namespace Game::UFunction_ {
// Size in bytes of the parameter block the function expects.
inline const GameField<uint16_t> ParmsSize{"UFunction.ParmsSize"};
}  // namespace Game::UFunction_
namespace Game::UClass_ {
// 1: include super classes.
inline const GameFunction<UFunction*(UClass*, FName, int32_t)> FindFunctionByName{
    "UClass.FindFunctionByName(FName,EIncludeSuperFlag::Type)"};
}  // namespace Game::UClass_
