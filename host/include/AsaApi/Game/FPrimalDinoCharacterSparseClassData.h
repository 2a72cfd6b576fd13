#pragma once
// Per-class data of a creature class, shared by all its creatures.
#include "AsaApi/GameTables.h"

struct FPrimalDinoCharacterSparseClassData;

enum class EGetSparseClassDataMethod : uint8_t { CrashIfNotFound = 0, ReturnIfNull = 1, ArchetypeIfNull = 2 };

namespace Game::FPrimalDinoCharacterSparseClassData_ {
inline const GameField<float> FinalNPCLevelMultiplier{"FPrimalDinoCharacterSparseClassData.FinalNPCLevelMultiplier"};
// Nonzero when the creature needs a DLC.
inline const GameField<uint8_t> RequiresDLC{"FPrimalDinoCharacterSparseClassData.RequiresDLC"};
}  // namespace Game::FPrimalDinoCharacterSparseClassData_
