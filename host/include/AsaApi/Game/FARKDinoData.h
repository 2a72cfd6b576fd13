#pragma once
// A creature as the game stores it: class, serialized bytes and names. Size from
// StaticStruct() and UStruct.PropertiesSize; fields by name.
#include "AsaApi/FString.h"
#include "AsaApi/Game/UStruct.h"
#include "AsaApi/TArray.h"

struct FARKDinoData;

namespace Game::FARKDinoData_ {
inline const GameFunction<UScriptStruct*()> StaticStruct{"FARKDinoData.StaticStruct()"};
inline const GameField<UClass*> DinoClass{"FARKDinoData.DinoClass"};
inline const GameField<TArray<uint8_t>> DinoData{"FARKDinoData.DinoData"};
inline const GameField<FString> DinoNameInMap{"FARKDinoData.DinoNameInMap"};
inline const GameField<FString> DinoName{"FARKDinoData.DinoName"};
}  // namespace Game::FARKDinoData_
