#include "AsaApi/FString.h"

#include <algorithm>
#include <cstring>

FString::FString(std::u16string_view text) {
  if (text.empty()) return;
  Data_.Reserve(static_cast<int32_t>(text.size() + 1));
  for (char16_t c : text) Data_.Add(c);
  Data_.Add(u'\0');
}

FString FString::FromUtf8(std::string_view utf8) { return FString(std::u16string_view(Utf8ToUtf16(utf8))); }

std::string FString::ToUtf8() const { return Utf16ToUtf8(View()); }

bool FString::Equals(const FString& other, bool ignoreCase) const {
  if (!ignoreCase) return View() == other.View();
  return CompareIgnoreCase(View(), other.View()) == 0;
}

bool FString::StartsWith(std::u16string_view prefix, bool ignoreCase) const {
  const std::u16string_view text = View();
  if (text.size() < prefix.size()) return false;
  if (!ignoreCase) return text.substr(0, prefix.size()) == prefix;
  return CompareIgnoreCase(text.substr(0, prefix.size()), prefix) == 0;
}

FString& FString::operator+=(const FString& other) { return *this += other.View(); }

FString& FString::operator+=(std::u16string_view other) {
  if (other.empty()) return *this;
  if (Data_.Num() > 0) Data_.RemoveAt(Data_.Num() - 1);
  Data_.Reserve(Data_.Num() + static_cast<int32_t>(other.size()) + 1);
  for (char16_t c : other) Data_.Add(c);
  Data_.Add(u'\0');
  return *this;
}

char16_t ToLowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

int CompareIgnoreCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = ToLowerAscii(a[i]);
    const char16_t y = ToLowerAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
  while (i < utf8.size()) {
    const unsigned char lead = byte(i);
    char32_t cp = 0xFFFD;
    std::size_t length = 1;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead >> 5) == 0x6) {
      length = 2;
      cp = lead & 0x1F;
    } else if ((lead >> 4) == 0xE) {
      length = 3;
      cp = lead & 0x0F;
    } else if ((lead >> 3) == 0x1E) {
      length = 4;
      cp = lead & 0x07;
    } else {
      out.push_back(u'\xFFFD');
      ++i;
      continue;
    }
    bool valid = i + length <= utf8.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) valid = false;
      else cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!valid || cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(u'\xFFFD');
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}
