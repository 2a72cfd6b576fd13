#include "core/ModulePath.h"

#include <dlfcn.h>

namespace TandorShop {

std::string ModulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModulePath), &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
}

}  // namespace TandorShop
