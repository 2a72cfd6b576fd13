#pragma once
// Game objects that live as long as the process: class default objects, entry
// objects, per-class data. Listed in the object array like every other object.
#include <memory>
#include <mutex>
#include <vector>

#include "sim/engine/ObjectArray.h"

namespace sim {

class ProcessObjects {
 public:
  template <typename T>
  static T* Make() {
    ObjectPtr<T> made = NewObject<T>();
    T* raw = made.get();
    Keep(std::shared_ptr<void>(made.release(), [](void* p) { ObjectDeleter<T>()(static_cast<T*>(p)); }));
    return raw;
  }
  // Plain records (not objects) kept for the process.
  template <typename T>
  static T* MakeRecord() {
    auto made = std::make_shared<T>();
    T* raw = made.get();
    Keep(std::move(made));
    return raw;
  }

 private:
  static void Keep(std::shared_ptr<void> object);
};

}  // namespace sim
