#pragma once
// The engine's text: UTF-16 code units in a TArray whose count includes the
// terminating zero (an empty text has count 0 or 1).
#include <compare>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "AsaApi/TArray.h"

class FString {
 public:
  FString() = default;
  FString(const char16_t* text) : FString(std::u16string_view(text == nullptr ? u"" : text)) {}
  FString(std::u16string_view text);
  // Narrow text is taken as UTF-8.
  FString(const char* text) : FString(FromUtf8(text == nullptr ? "" : text)) {}
  FString(const std::string& text) : FString(FromUtf8(text)) {}

  static FString FromUtf8(std::string_view utf8);

  // Text without the terminator.
  const char16_t* operator*() const { return Data_.Num() > 0 ? Data_.GetData() : u""; }
  std::u16string_view View() const { return {**this, static_cast<std::size_t>(Len())}; }
  int32_t Len() const { return Data_.Num() > 0 ? Data_.Num() - 1 : 0; }
  bool IsEmpty() const { return Len() == 0; }

  // Raw count including the terminator, as the engine keeps it.
  int32_t RawNum() const { return Data_.Num(); }

  std::string ToUtf8() const;

  bool Equals(const FString& other, bool ignoreCase = false) const;
  bool StartsWith(std::u16string_view prefix, bool ignoreCase = false) const;
  bool Contains(std::u16string_view part) const { return View().find(part) != std::u16string_view::npos; }

  FString& operator+=(const FString& other);
  FString& operator+=(std::u16string_view other);
  friend FString operator+(FString left, const FString& right) { return left += right; }

  friend bool operator==(const FString& a, const FString& b) { return a.View() == b.View(); }
  friend std::strong_ordering operator<=>(const FString& a, const FString& b) { return a.View() <=> b.View(); }

 private:
  TArray<char16_t> Data_;
};

static_assert(sizeof(FString) == 16, "FString is a TArray of code units");

// Case-insensitive comparison of UTF-16 texts (ASCII letters fold; others compare as is).
int CompareIgnoreCase(std::u16string_view a, std::u16string_view b);
char16_t ToLowerAscii(char16_t c);

// UTF-8 <-> UTF-16; malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

template <>
struct std::hash<FString> {
  std::size_t operator()(const FString& s) const noexcept { return std::hash<std::u16string_view>{}(s.View()); }
};
