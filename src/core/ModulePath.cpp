#include "core/ModulePath.h"

#include "core/Platform.h"

namespace TandorShop {

const std::string& ModulePath() {
  // The library does not move while it is loaded; a new load starts with a new copy.
  static const std::string path = Platform::OwnModulePath();
  return path;
}

}  // namespace TandorShop
