#pragma once
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/GameTables.h"

struct FTribeData;

namespace Game::FTribeData_ {
inline const GameField<FString> TribeName{"FTribeData.TribeName"};
inline const GameField<int32_t> TribeID{"FTribeData.TribeID"};
}  // namespace Game::FTribeData_
