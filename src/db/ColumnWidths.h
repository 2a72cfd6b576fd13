#pragma once
// Widths, in characters, of the text columns whose values are shortened to fit.
// Key columns (EOS ids, packet strings, cooldown names) are never shortened: a
// value too long for them fails its statement instead of matching another row.
#include <cstddef>

namespace DBHelper {
inline constexpr std::size_t kCharacterNameChars = 127;  // charName, tribeName
inline constexpr std::size_t kTradeNameChars = 255;      // from_name, to_name
inline constexpr std::size_t kShopLogTextChars = 255;    // packet, descr
}  // namespace DBHelper
