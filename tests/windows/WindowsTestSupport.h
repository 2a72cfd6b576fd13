#pragma once
// What the Windows tests share: a scratch folder whose name is not ASCII, made
// and removed through the wide API, and text conversions done by Windows itself.
#include <filesystem>
#include <string>

namespace wintest {

// A new folder below the temporary folder, named with non-ASCII characters
// (Latin, Cyrillic, CJK and one outside the Basic Multilingual Plane); removed
// with everything in it when the object goes.
class NonAsciiFolder {
 public:
  explicit NonAsciiFolder(const std::wstring& stem);
  ~NonAsciiFolder();
  NonAsciiFolder(const NonAsciiFolder&) = delete;
  NonAsciiFolder& operator=(const NonAsciiFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder as UTF-8, as the plugin holds paths.
  std::string Utf8() const;

 private:
  std::filesystem::path path_;
};

// Windows' own conversions (MultiByteToWideChar / WideCharToMultiByte, CP_UTF8).
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

}  // namespace wintest
