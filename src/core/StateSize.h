#pragma once
// How much of the plugin's own memory a piece of its state holds: its entries and
// the approximate bytes of their storage (container capacity and the texts and
// arrays the entries own; allocator overhead not counted). For reports and tests.
#include <cstddef>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"

namespace TandorShop {

struct StateSize {
  std::size_t Entries = 0;
  std::size_t Bytes = 0;

  StateSize& operator+=(const StateSize& other) {
    Entries += other.Entries;
    Bytes += other.Bytes;
    return *this;
  }
  friend StateSize operator+(StateSize a, const StateSize& b) { return a += b; }
};

// Heap bytes a text owns (its copies are allocated to their length).
inline std::size_t OwnedBytes(const FString& text) {
  return static_cast<std::size_t>(text.RawNum()) * sizeof(char16_t);
}

// Heap bytes of an array's buffer, without what its elements own.
template <typename T>
std::size_t BufferBytes(const TArray<T>& array) {
  return static_cast<std::size_t>(array.Max()) * sizeof(T);
}

}  // namespace TandorShop
