#pragma once
#include <string>

namespace AsaApi::Tools {
// The directory that "/ArkApi/Plugins/" paths are appended to.
std::string GetCurrentDir();
// UTF-8 to wide (UTF-16) text.
std::u16string Utf8Decode(const std::string& text);
}  // namespace AsaApi::Tools
