#pragma once
// The game's custom data of an item (what a cryopod keeps of its creature). Size
// from StaticStruct() and UStruct.PropertiesSize; named fields by name.
#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
#include "AsaApi/Game/UStruct.h"
#include "AsaApi/TArray.h"

struct FCustomItemData;

// One byte array of the custom data, and the list of them.
struct FCustomItemByteArray {
  TArray<uint8_t> Bytes;
};
struct FCustomItemByteArrays {
  TArray<FCustomItemByteArray> ByteArrays;
};

namespace Game::FCustomItemData_ {
inline const GameFunction<UScriptStruct*()> StaticStruct{"FCustomItemData.StaticStruct()"};
inline const GameField<FName> CustomDataName{"FCustomItemData.CustomDataName"};
inline const GameField<TArray<UClass*>> CustomDataClasses{"FCustomItemData.CustomDataClasses"};
inline const GameField<TArray<FName>> CustomDataNames{"FCustomItemData.CustomDataNames"};
inline const GameField<TArray<FString>> CustomDataStrings{"FCustomItemData.CustomDataStrings"};
inline const GameField<FCustomItemByteArrays> CustomDataBytes{"FCustomItemData.CustomDataBytes"};
}  // namespace Game::FCustomItemData_
namespace Game::FCustomItemByteArrays_ {
inline const GameField<TArray<FCustomItemByteArray>> ByteArrays{"FCustomItemByteArrays.ByteArrays"};
}
namespace Game::FCustomItemByteArray_ {
inline const GameField<TArray<uint8_t>> Bytes{"FCustomItemByteArray.Bytes"};
}
