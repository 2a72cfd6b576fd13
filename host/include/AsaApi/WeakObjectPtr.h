#pragma once
// Weak object references: index and serial number into the engine's object
// array. They resolve to null once the object is gone.
#include <cstdint>

#include "AsaApi/UObject.h"

struct FWeakObjectPtr;
namespace Game::FWeakObjectPtr_ {
inline const GameFunction<UObject*(const FWeakObjectPtr*)> Get{"FWeakObjectPtr.Get()"};
}

struct FWeakObjectPtr {
  int32_t ObjectIndex = -1;
  int32_t ObjectSerialNumber = 0;

  // Refers to object (or to nothing for null).
  static FWeakObjectPtr From(const UObject* object);

  UObject* Get() const {
    if (ObjectSerialNumber == 0) return nullptr;
    return Game::FWeakObjectPtr_::Get(this);
  }
};
static_assert(sizeof(FWeakObjectPtr) == 8);

template <typename T>
struct TWeakObjectPtr : FWeakObjectPtr {
  TWeakObjectPtr() = default;
  explicit TWeakObjectPtr(const T* object) : FWeakObjectPtr(FWeakObjectPtr::From(object)) {}
  T* Get() const { return reinterpret_cast<T*>(FWeakObjectPtr::Get()); }
};

template <typename T>
TWeakObjectPtr<T> GetWeakReference(const T* object) {
  return TWeakObjectPtr<T>(object);
}
