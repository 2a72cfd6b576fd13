#pragma once
// The engine's basic runtime: allocator, names, case-insensitive compares, the
// object array and weak pointer resolution. Idempotent.
namespace sim {
void InstallEngineRuntime();
}
