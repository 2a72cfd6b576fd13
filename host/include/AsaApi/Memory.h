#pragma once
// The game's allocator. Buffers of FString and TArray exchanged with the game
// belong to it; the addresses come from the function table by name.
#include <cstddef>
#include <cstdint>

#include "AsaApi/GameTables.h"

namespace Game::FMemory_ {
inline const GameFunction<void*(unsigned long long, unsigned int)> Malloc{
    "FMemory.Malloc(unsigned__int64,unsignedint)"};
inline const GameFunction<void*(void*, unsigned long long, unsigned int)> Realloc{
    "FMemory.Realloc(void*,unsigned__int64,unsignedint)"};
inline const GameFunction<void(void*)> Free{"FMemory.Free(void*)"};
}  // namespace Game::FMemory_

struct FMemory {
  static void* Malloc(std::size_t size, unsigned alignment = 0) {
    return Game::FMemory_::Malloc(size, alignment);
  }
  static void* Realloc(void* ptr, std::size_t size, unsigned alignment = 0) {
    return Game::FMemory_::Realloc(ptr, size, alignment);
  }
  static void Free(void* ptr) {
    if (ptr != nullptr) Game::FMemory_::Free(ptr);
  }
};
