#pragma once
// An item's custom data (what a cryopod keeps of its creature) as the game lays
// it out, and its decoded form for tests. The layout is the game's own and is
// kept apart from any caller's idea of it, so a caller that writes a list at the
// wrong place is caught when the data is decoded.
#include <cstdint>
#include <string>
#include <vector>

#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/TArray.h"

namespace sim {

struct SimCustomItemDoubles {
  TArray<double> Doubles;
};
struct SimCustomItemByteArray {
  TArray<uint8_t> Bytes;
};
struct SimCustomItemByteArrays {
  TArray<SimCustomItemByteArray> ByteArrays;
};

// FCustomItemData: the name, then strings, floats, doubles, objects, classes,
// names and byte arrays, then soft class references.
struct SimCustomItemData {
  FName CustomDataName;
  TArray<FString> CustomDataStrings;
  TArray<float> CustomDataFloats;
  SimCustomItemDoubles CustomDataDoubles;
  TArray<UObject*> CustomDataObjects;
  TArray<UClass*> CustomDataClasses;
  TArray<FName> CustomDataNames;
  SimCustomItemByteArrays CustomDataBytes;
  TArray<void*> CustomDataSoftClasses;
};
static_assert(offsetof(SimCustomItemData, CustomDataFloats) == 0x18);
static_assert(offsetof(SimCustomItemData, CustomDataDoubles) == 0x28);
static_assert(sizeof(SimCustomItemData) == 0x88);

struct DecodedCustomData {
  std::string Name;
  std::vector<UClass*> Classes;
  std::vector<std::string> Names;
  std::vector<std::string> Strings;
  std::vector<float> Floats;
  std::vector<double> Doubles;
  std::vector<std::vector<uint8_t>> ByteArrays;
  std::size_t ObjectCount = 0;
};

DecodedCustomData Decode(const SimCustomItemData& data);

void RegisterCustomItemDataFields();

}  // namespace sim
