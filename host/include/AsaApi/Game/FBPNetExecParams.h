#pragma once
// The parameters of a network-execution message: read by field name only.
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/GameTables.h"

struct FBPNetExecParams;

namespace Game::FBPNetExecParams_ {
inline const GameField<int32_t> IntParam1{"FBPNetExecParams.IntParam1"};
inline const GameField<int32_t> IntParam2{"FBPNetExecParams.IntParam2"};
inline const GameField<FString> StringParam1{"FBPNetExecParams.StringParam1"};
}  // namespace Game::FBPNetExecParams_
