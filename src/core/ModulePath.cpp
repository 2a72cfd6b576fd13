#include "core/ModulePath.h"

#include "core/Platform.h"

namespace TandorShop {

std::string ModulePath() { return Platform::OwnModulePath(); }

}  // namespace TandorShop
