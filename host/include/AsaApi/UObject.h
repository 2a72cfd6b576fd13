#pragma once
// The engine's object header and object array, with their real layouts.
#include <cstdint>

#include "AsaApi/FName.h"
#include "AsaApi/GameTables.h"

struct UClass;

// UObjectBase: every object starts with this header.
struct UObject {
  void** VTable;
  int32_t ObjectFlags;
  int32_t InternalIndex;
  UClass* ClassPrivate;
  FName NamePrivate;
  UObject* OuterPrivate;
};
static_assert(sizeof(UObject) == 40);

struct FUObjectItem {
  UObject* Object;
  int32_t Flags;  // byte 8
  int32_t ClusterRootIndex;
  int32_t SerialNumber;
  int32_t Padding;
};
static_assert(sizeof(FUObjectItem) == 24);
static_assert(offsetof(FUObjectItem, Flags) == 8);

struct FChunkedFixedUObjectArray {
  static constexpr int32_t NumElementsPerChunk = 65536;
  FUObjectItem** Objects;
  FUObjectItem* PreAllocatedObjects;
  int32_t MaxElements;
  int32_t NumElements;
  int32_t MaxChunks;
  int32_t NumChunks;

  FUObjectItem* GetItem(int32_t index) const {
    if (index < 0 || index >= NumElements) return nullptr;
    const int32_t chunk = index / NumElementsPerChunk;
    if (chunk >= NumChunks || Objects[chunk] == nullptr) return nullptr;
    return Objects[chunk] + index % NumElementsPerChunk;
  }
};

struct FUObjectArray {
  int32_t ObjFirstGCIndex;
  int32_t ObjLastNonGCIndex;
  int32_t MaxObjectsNotConsideredByGC;
  bool OpenForDisregardForGC;
  FChunkedFixedUObjectArray ObjObjects;
  int32_t MasterSerialNumber;
};

// Internal object flags that make a weak pointer resolve to null.
enum EInternalObjectFlags : int32_t {
  Unreachable = 1 << 28,
  Garbage = 1 << 29,
};

namespace Game::Global_ {
inline const GameData<FUObjectArray> GUObjectArray{"Global.GUObjectArray"};
}
namespace Game::UObjectBase_ {
inline const GameField<int32_t> InternalIndex{"UObjectBase.InternalIndex"};
inline const GameField<UClass*> ClassPrivate{"UObjectBase.ClassPrivate"};
}  // namespace Game::UObjectBase_
