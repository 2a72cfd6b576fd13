#pragma once
#include <string>

namespace TandorShop {
// The file path of the plugin's own library, looked up once (every chat message
// names it to the framework).
const std::string& ModulePath();
}  // namespace TandorShop
