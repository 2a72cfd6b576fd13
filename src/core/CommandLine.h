#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AsaApi/FString.h"

namespace TandorShop {

// Splits a command line into arguments the way the server's platform does:
// blanks separate, double quotes group words, backslashes escape quotes.
std::optional<std::vector<std::u16string>> SplitCommandLine(std::u16string_view commandLine);

// The value of the first argument that starts with "-serverkey=" (any case);
// empty when there is none.
FString ServerKeyFromArguments(const std::vector<std::u16string>& arguments);

// The server key of this process's command line.
FString ReadServerKey();

}  // namespace TandorShop
