// A DLL of the platform file for the platform tests: it exports a name no other
// module has, and tells the path the platform file finds for it, wherever the
// test copied it.
#include <cstddef>
#include <cstring>
#include <string>

#include "core/Platform.h"

extern "C" __declspec(dllexport) int TandorShopProbeExport() { return 4242; }

// Copies the module's own path (UTF-8) into out; its length, or 0 when it does not fit.
extern "C" __declspec(dllexport) std::size_t TandorShopProbeOwnPath(char* out, std::size_t capacity) {
  const std::string path = TandorShop::Platform::OwnModulePath();
  if (path.size() >= capacity) return 0;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return path.size();
}
