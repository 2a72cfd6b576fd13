#include "WindowsTestSupport.h"

#include <windows.h>

#include <system_error>

namespace wintest {

NonAsciiFolder::NonAsciiFolder(const std::wstring& name) {
  path_ = std::filesystem::temp_directory_path() /
          (L"tandorshop-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

NonAsciiFolder::~NonAsciiFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string NonAsciiFolder::Utf8() const { return Utf8FromWide(path_.wstring()); }

std::string NonAsciiFolder::Narrow() const {
  const std::wstring wide = path_.wstring();
  BOOL lossy = FALSE;
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, &lossy);
  if (size <= 0 || lossy) return {};
  std::string narrow(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size, nullptr, nullptr);
  return narrow;
}

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
