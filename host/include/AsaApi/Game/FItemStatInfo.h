#pragma once
// The game's description of one item stat. Its size is the game's: learn it
// through StaticStruct() and UStruct.PropertiesSize; its fields are reached by name.
#include "AsaApi/Game/UStruct.h"

struct FItemStatInfo;

namespace Game::FItemStatInfo_ {
inline const GameFunction<UScriptStruct*()> StaticStruct{"FItemStatInfo.StaticStruct()"};
inline const GameField<float> InitialValueConstant{"FItemStatInfo.InitialValueConstant"};
inline const GameField<float> StateModifierScale{"FItemStatInfo.StateModifierScale"};
inline const GameField<float> RandomizerRangeMultiplier{"FItemStatInfo.RandomizerRangeMultiplier"};
}  // namespace Game::FItemStatInfo_
