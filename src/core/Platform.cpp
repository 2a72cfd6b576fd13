#include "core/Platform.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00  // Windows 10, as the game server requires
#endif
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>  // K32EnumProcessModules, exported by kernel32 itself
#else
#include <dlfcn.h>
#include <poll.h>
#endif

#include <system_error>
#include <vector>

namespace TandorShop::Platform {

#ifdef _WIN32

namespace {

std::string ToUtf8(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

void* FindLoadedExport(const char* exportName) {
  // Every module of the process, as the POSIX branch searches the global symbols.
  std::vector<HMODULE> modules(256);
  DWORD needed = 0;
  for (;;) {
    const DWORD bytes = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
    if (!::K32EnumProcessModules(::GetCurrentProcess(), modules.data(), bytes, &needed)) return nullptr;
    if (needed <= bytes) break;
    modules.resize(needed / sizeof(HMODULE));
  }
  modules.resize(needed / sizeof(HMODULE));
  for (HMODULE module : modules) {
    if (FARPROC found = ::GetProcAddress(module, exportName))
      return reinterpret_cast<void*>(found);
  }
  return nullptr;
}

std::string OwnModulePath() {
  HMODULE self = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&OwnModulePath), &self))
    return {};
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return ToUtf8(path.data(), static_cast<int>(length));
    if (path.size() >= 32768) return {};  // longer than any path Windows accepts
    path.resize(path.size() * 2);
  }
}

// The system's time zone, by its rules for the moment's date, as the rest of
// Windows shows time. Not the C runtime's localtime_s: it follows a TZ variable
// when one is set, and reads only POSIX-style zones ("CET-1CEST") from it, so a
// zone name there ("Europe/Berlin") gives a wrong offset without an error.
bool LocalTime(std::time_t moment, std::tm& out) {
  constexpr std::time_t kUnixToFileTimeSeconds = 11644473600;  // 1601-01-01 to 1970-01-01
  constexpr std::time_t kLastFileTimeSecond = 910692730085;    // the end of year 30827
  if (moment < 0 || moment > kLastFileTimeSecond) return false;
  const ULONGLONG ticks = static_cast<ULONGLONG>(moment + kUnixToFileTimeSeconds) * 10000000ULL;
  const FILETIME utcFile{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{}, local{};
  TIME_ZONE_INFORMATION zone{};
  if (!::FileTimeToSystemTime(&utcFile, &utc)) return false;
  if (::GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return false;
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return false;  // the active zone

  static constexpr int kDaysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const int year = local.wYear;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  out = std::tm{};
  out.tm_year = year - 1900;
  out.tm_mon = local.wMonth - 1;
  out.tm_mday = local.wDay;
  out.tm_hour = local.wHour;
  out.tm_min = local.wMinute;
  out.tm_sec = local.wSecond;
  out.tm_wday = local.wDayOfWeek;
  out.tm_yday = kDaysBeforeMonth[out.tm_mon] + out.tm_mday - 1 + (leap && out.tm_mon > 1 ? 1 : 0);
  // Daylight saving time: the offset differs from the zone's standard one.
  FILETIME localFile{};
  if (::SystemTimeToFileTime(&local, &localFile)) {
    const ULONGLONG localTicks = (static_cast<ULONGLONG>(localFile.dwHighDateTime) << 32) | localFile.dwLowDateTime;
    const LONGLONG offsetMinutes = (static_cast<LONGLONG>(localTicks) - static_cast<LONGLONG>(ticks)) / 600000000LL;
    out.tm_isdst = offsetMinutes != -(static_cast<LONGLONG>(zone.Bias) + zone.StandardBias) ? 1 : 0;
  }
  return true;
}

// Not a rename over the target (MoveFileExW): Windows refuses that while any
// other handle is open on the target, even one that shares deletion.
// ReplaceFileW swaps the two files' names and is allowed then.
bool ReplaceFileWith(const std::filesystem::path& target, const std::filesystem::path& replacement) {
  std::error_code error;
  const std::filesystem::path to = std::filesystem::absolute(target, error);  // ReplaceFileW wants full paths
  if (error) return false;
  const std::filesystem::path from = std::filesystem::absolute(replacement, error);
  if (error) return false;
  if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                     nullptr, nullptr))
    return true;
  // No target yet; or the target was removed and the replacement kept its own
  // name (ERROR_UNABLE_TO_MOVE_REPLACEMENT): nothing is held open any more.
  const DWORD failure = ::GetLastError();
  if (failure != ERROR_FILE_NOT_FOUND && failure != ERROR_UNABLE_TO_MOVE_REPLACEMENT) return false;
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool SocketReadableOrClosed(SocketHandle socket) {
  if (socket == INVALID_SOCKET) return true;
  WSAPOLLFD watch{};
  watch.fd = static_cast<SOCKET>(socket);
  watch.events = POLLRDNORM;  // WSAPoll refuses event bits other than the read and write ones
  if (::WSAPoll(&watch, 1, 0) == SOCKET_ERROR) return true;
  return (watch.revents & (POLLRDNORM | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

#else

void* FindLoadedExport(const char* exportName) { return ::dlsym(RTLD_DEFAULT, exportName); }

std::string OwnModulePath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&OwnModulePath), &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
}

bool LocalTime(std::time_t moment, std::tm& out) { return ::localtime_r(&moment, &out) != nullptr; }

bool ReplaceFileWith(const std::filesystem::path& target, const std::filesystem::path& replacement) {
  std::error_code error;
  std::filesystem::rename(replacement, target, error);  // atomic, whoever holds the target open
  return !error;
}

bool SocketReadableOrClosed(SocketHandle socket) {
  if (socket < 0) return true;
  pollfd watch{};
  watch.fd = socket;
  watch.events = POLLIN | POLLRDHUP;
  if (::poll(&watch, 1, 0) < 0) return true;
  return (watch.revents & (POLLIN | POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

#endif

}  // namespace TandorShop::Platform
