#include "core/TextConversion.h"


namespace DBHelper {

std::string ToNarrow(const FString& text) {
  std::string narrow;
  narrow.reserve(static_cast<std::size_t>(text.Len()));
  for (const char16_t unit : text.View()) narrow.push_back(unit < 128 ? static_cast<char>(unit) : '?');
  return narrow;
}

std::string ToUtf8(const FString& text) { return Utf16ToUtf8(text.View()); }

std::string CleanName(const FString& name) {
  std::u16string kept;
  kept.reserve(static_cast<std::size_t>(name.Len()));
  for (const char16_t unit : name.View())
    if (unit != u';') kept.push_back(unit);
  return Utf16ToUtf8(kept);
}

FString FromDatabase(std::string_view text) { return FString::FromUtf8(text); }

std::string FitColumn(std::string utf8, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte & 0xC0u) == 0x80u) continue;  // continuation byte
    if (chars == maxChars) {
      utf8.resize(i);
      break;
    }
    ++chars;
  }
  return utf8;
}

}  // namespace DBHelper
