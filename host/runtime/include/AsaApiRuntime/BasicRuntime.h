#pragma once
// The engine basics for a process that runs code written for the game: the
// allocator (FMemory), the name pool (FName) and the case-insensitive compares.
// Idempotent. The simulator installs them beneath its world; tools install them alone.
#include <cstddef>

namespace host {
void InstallBasicRuntime();
// The size requested for a block of the allocator; 0 for memory it did not hand out.
std::size_t AllocationSize(const void* block);
}  // namespace host
