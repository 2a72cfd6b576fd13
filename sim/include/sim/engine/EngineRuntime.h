#pragma once
#include <cstddef>
// The engine's basic runtime: allocator, names, case-insensitive compares, the
// object array and weak pointer resolution. Idempotent.
namespace sim {
void InstallEngineRuntime();
// The size requested for a block of the game's allocator; 0 for memory it did not hand out.
std::size_t GameAllocationSize(const void* block);
}
