#include "sim/world/CustomItemData.h"

#include "AsaApi/Game/FCustomItemData.h"
#include "sim/engine/Reflection.h"

namespace sim {
namespace {

constexpr std::ptrdiff_t Off(std::size_t offset) { return static_cast<std::ptrdiff_t>(offset); }

UScriptStruct* CustomItemDataStruct() {
  return reinterpret_cast<UScriptStruct*>(
      Reflection::StaticStructOf("FCustomItemData", static_cast<int32_t>(sizeof(SimCustomItemData))));
}

}  // namespace

DecodedCustomData Decode(const SimCustomItemData& data) {
  DecodedCustomData decoded;
  decoded.Name = data.CustomDataName.ToString().ToUtf8();
  for (UClass* cls : data.CustomDataClasses) decoded.Classes.push_back(cls);
  for (const FName& name : data.CustomDataNames) decoded.Names.push_back(name.ToString().ToUtf8());
  for (const FString& text : data.CustomDataStrings) decoded.Strings.push_back(text.ToUtf8());
  for (float value : data.CustomDataFloats) decoded.Floats.push_back(value);
  for (double value : data.CustomDataDoubles.Doubles) decoded.Doubles.push_back(value);
  for (const SimCustomItemByteArray& bytes : data.CustomDataBytes.ByteArrays)
    decoded.ByteArrays.emplace_back(bytes.Bytes.begin(), bytes.Bytes.end());
  decoded.ObjectCount = static_cast<std::size_t>(data.CustomDataObjects.Num());
  return decoded;
}

void RegisterCustomItemDataFields() {
  using namespace Game::FCustomItemData_;
  host::Register(StaticStruct, &CustomItemDataStruct);
  host::Register(CustomDataName, Off(offsetof(SimCustomItemData, CustomDataName)));
  host::Register(CustomDataClasses, Off(offsetof(SimCustomItemData, CustomDataClasses)));
  host::Register(CustomDataNames, Off(offsetof(SimCustomItemData, CustomDataNames)));
  host::Register(CustomDataStrings, Off(offsetof(SimCustomItemData, CustomDataStrings)));
  host::Register(CustomDataBytes, Off(offsetof(SimCustomItemData, CustomDataBytes)));
  host::Register(Game::FCustomItemByteArrays_::ByteArrays, Off(offsetof(SimCustomItemByteArrays, ByteArrays)));
  host::Register(Game::FCustomItemByteArray_::Bytes, Off(offsetof(SimCustomItemByteArray, Bytes)));
}

}  // namespace sim
