#pragma once
#include <string>

namespace TandorShop {
// The file path of the plugin's own library.
std::string ModulePath();
}  // namespace TandorShop
