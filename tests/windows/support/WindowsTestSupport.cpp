#include "WindowsTestSupport.h"

#include <windows.h>

#include <system_error>

namespace wintest {

NonAsciiFolder::NonAsciiFolder(const std::wstring& stem) {
  path_ = std::filesystem::temp_directory_path() /
          (stem + L"-\u00e9t\u00e9-\u0441\u0435\u0440\u0432\u0435\u0440-\u30b5\u30fc\u30d0-\U0001F996-" +
           std::to_wstring(::GetCurrentProcessId()));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

NonAsciiFolder::~NonAsciiFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string NonAsciiFolder::Utf8() const { return Utf8FromWide(path_.wstring()); }

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace wintest
