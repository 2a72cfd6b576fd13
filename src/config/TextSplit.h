#pragma once
// Small text helpers shared by the configuration reader and the packet strings.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ConfigHelper::Text {

// Splits at every `separator`. Empty parts are kept or dropped as asked.
inline std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator, bool keepEmpty) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    const std::u16string_view part = text.substr(start, end == std::u16string_view::npos ? end : end - start);
    if (keepEmpty || !part.empty()) parts.push_back(part);
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

// True when `text` is non-empty and made of the digits 0 to 9 only.
inline bool IsDigits(std::u16string_view text) {
  if (text.empty()) return false;
  for (const char16_t c : text)
    if (c < u'0' || c > u'9') return false;
  return true;
}

// The decimal value of a digits-only text, or nothing when it exceeds int32.
inline std::optional<int32_t> DigitsToInt32(std::u16string_view digits) {
  int64_t value = 0;
  for (const char16_t c : digits) {
    value = value * 10 + (c - u'0');
    if (value > INT32_MAX) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

}  // namespace ConfigHelper::Text
