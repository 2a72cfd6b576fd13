#pragma once
// The simulator's objects are listed in the engine's chunked object array
// (Global.GUObjectArray), so weak pointers resolve and go null on destruction.
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "AsaApi/UObject.h"

namespace sim {

class ObjectArray {
 public:
  static ObjectArray& Get();

  // Lists header's object, filling InternalIndex, with a fresh serial number.
  void Add(UObject* header);
  // Unlists it: weak pointers to it resolve to null from now on.
  void Remove(UObject* header);
  FUObjectArray* Raw() { return &array_; }

 private:
  ObjectArray();
  FUObjectArray array_{};
  std::unique_ptr<FUObjectItem*[]> chunks_;
  std::vector<std::unique_ptr<FUObjectItem[]>> storage_;
  int32_t freeHint_ = 0;
};

// An object of the simulated game: a standard-layout struct whose first member is
// the object header. Created listed and unlisted on destruction.
template <typename T>
struct ObjectDeleter {
  void operator()(T* object) const {
    ObjectArray::Get().Remove(&object->Header);
    std::default_delete<T>()(object);
  }
};
template <typename T>
using ObjectPtr = std::unique_ptr<T, ObjectDeleter<T>>;

template <typename T>
ObjectPtr<T> NewObject() {
  static_assert(std::is_standard_layout_v<T>, "simulated objects start with the object header");
  ObjectPtr<T> object(std::make_unique<T>().release());
  ObjectArray::Get().Add(&object->Header);
  return object;
}

}  // namespace sim
