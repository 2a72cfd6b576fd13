#pragma once
// Game text to statement, log and message text and back.
#include <cstddef>
#include <string>
#include <string_view>

#include "AsaApi/FString.h"

namespace DBHelper {

// Each UTF-16 code unit below 128 as one byte, every other one as "?".
std::string ToNarrow(const FString& text);
// The text encoded as UTF-8.
std::string ToUtf8(const FString& text);
// A name as it is stored: ";" removed, UTF-8.
std::string CleanName(const FString& name);
// Text read back from the database (stored as UTF-8 or ASCII).
FString FromDatabase(std::string_view text);
// At most maxChars characters of UTF-8 text, cut at a character boundary, so that
// an over-long log text is shortened instead of making its row fail.
std::string FitColumn(std::string utf8, std::size_t maxChars);

}  // namespace DBHelper
