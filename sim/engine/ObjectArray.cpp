#include "sim/engine/ObjectArray.h"

#include <mutex>
#include <stdexcept>

namespace sim {
namespace {
constexpr int32_t MaxChunks = 16;
std::mutex g_mutex;
}  // namespace

ObjectArray& ObjectArray::Get() {
  static ObjectArray array;
  return array;
}

ObjectArray::ObjectArray() : chunks_(std::make_unique<FUObjectItem*[]>(MaxChunks)) {
  array_.ObjObjects.Objects = chunks_.get();
  array_.ObjObjects.MaxChunks = MaxChunks;
  array_.ObjObjects.MaxElements = MaxChunks * FChunkedFixedUObjectArray::NumElementsPerChunk;
  array_.MasterSerialNumber = 1000;
}

void ObjectArray::Add(UObject* header) {
  std::lock_guard lock(g_mutex);
  auto& objects = array_.ObjObjects;
  // Reuse a free slot if there is one, as the engine does.
  int32_t index = -1;
  for (int32_t i = freeHint_; i < objects.NumElements; ++i) {
    if (objects.GetItem(i)->Object == nullptr) {
      index = i;
      break;
    }
  }
  if (index < 0) {
    index = objects.NumElements;
    const int32_t chunk = index / FChunkedFixedUObjectArray::NumElementsPerChunk;
    if (chunk >= MaxChunks) throw std::runtime_error("object array full");
    if (chunk >= objects.NumChunks) {
      storage_.push_back(std::make_unique<FUObjectItem[]>(FChunkedFixedUObjectArray::NumElementsPerChunk));
      objects.Objects[chunk] = storage_.back().get();
      objects.NumChunks = chunk + 1;
    }
    ++objects.NumElements;
  }
  freeHint_ = index + 1;
  FUObjectItem* item = objects.GetItem(index);
  item->Object = header;
  item->Flags = 0;
  item->SerialNumber = ++array_.MasterSerialNumber;
  header->InternalIndex = index;
}

void ObjectArray::Remove(UObject* header) {
  std::lock_guard lock(g_mutex);
  FUObjectItem* item = array_.ObjObjects.GetItem(header->InternalIndex);
  if (item == nullptr || item->Object != header) return;
  item->Object = nullptr;
  item->SerialNumber = 0;
  item->Flags = 0;
  if (header->InternalIndex < freeHint_) freeHint_ = header->InternalIndex;
}

}  // namespace sim
