#pragma once
// A class reference restricted to subclasses of T, passed by value as the game does.
#include "AsaApi/Game/Classes.h"

template <typename T>
struct TSubclassOf {
  UClass* uClass = nullptr;

  TSubclassOf() = default;
  TSubclassOf(UClass* cls) : uClass(cls) {}
  UClass* Get() const { return uClass; }
};
static_assert(sizeof(TSubclassOf<UObject>) == 8);
