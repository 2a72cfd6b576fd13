#pragma once
// What the Windows tests share: a scratch folder whose name is not ASCII, made
// and removed through the wide API, and text conversions done by Windows itself.
#include <filesystem>
#include <string>

namespace wintest {

// Latin, Cyrillic, Japanese and a character outside the Basic Multilingual Plane.
inline const std::wstring kManyScripts = L"\u00e9t\u00e9-\u0441\u0435\u0440\u0432\u0435\u0440-\u30b5\u30fc\u30d0-\U0001F996";
// Non-ASCII, and every character in the ANSI code page of Western Windows (1252).
inline const std::wstring kWestern = L"Spielst\u00e4nde-\u00e9t\u00e9";

// A new folder below the temporary folder, its name ending in `name`; removed
// with everything in it when the object goes.
class NonAsciiFolder {
 public:
  explicit NonAsciiFolder(const std::wstring& name);
  ~NonAsciiFolder();
  NonAsciiFolder(const NonAsciiFolder&) = delete;
  NonAsciiFolder& operator=(const NonAsciiFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Utf8() const;
  // The folder in the ANSI code page, as Windows' narrow functions (the "A" ones,
  // the C runtime's) give and take paths; empty when a character is not in it.
  std::string Narrow() const;

 private:
  std::filesystem::path path_;
};

// Windows' own conversions (MultiByteToWideChar / WideCharToMultiByte, CP_UTF8).
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace wintest
