// The Windows branch of the platform file, against Windows itself: exports of
// other modules, the module's own path in a folder whose name is not ASCII,
// Winsock connections, and local time as Windows' time-zone rules give it.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <thread>
#include <vector>

#include "WindowsTestSupport.h"
#include "core/Platform.h"

namespace {

using namespace TandorShop::Platform;
namespace fs = std::filesystem;

// The probe DLL is built beside the test program.
fs::path ProbeBesideProgram() {
  std::wstring self(32768, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return fs::path(self).parent_path() / L"platform_probe.dll";
}

using OwnPathFunction = std::size_t (*)(char*, std::size_t);

TEST(WindowsPlatform, FindsAnExportOnlyOnceItsDllIsLoaded) {
  EXPECT_EQ(FindLoadedExport("TandorShopProbeExport"), nullptr) << "not loaded yet";
  EXPECT_NE(FindLoadedExport("GetTickCount64"), nullptr) << "kernel32 is in every process";

  HMODULE probe = ::LoadLibraryW(ProbeBesideProgram().c_str());
  ASSERT_NE(probe, nullptr) << ProbeBesideProgram();
  void* found = FindLoadedExport("TandorShopProbeExport");
  ASSERT_EQ(found, reinterpret_cast<void*>(::GetProcAddress(probe, "TandorShopProbeExport")));
  EXPECT_EQ(reinterpret_cast<int (*)()>(found)(), 4242);
  EXPECT_EQ(FindLoadedExport("TandorShopNoSuchExport"), nullptr);
  ::FreeLibrary(probe);
  EXPECT_EQ(FindLoadedExport("TandorShopProbeExport"), nullptr) << "unloaded again";
}

TEST(WindowsPlatform, OwnModulePathOfADllInAFolderWithNonAsciiName) {
  wintest::NonAsciiFolder folder(L"module-" + wintest::kManyScripts);
  const fs::path copy = folder.Path() / L"Tand\u00f6rShop-\u5546\u5e97.dll";
  fs::copy_file(ProbeBesideProgram(), copy);

  HMODULE probe = ::LoadLibraryW(copy.c_str());
  ASSERT_NE(probe, nullptr);
  auto ownPath =
      reinterpret_cast<OwnPathFunction>(reinterpret_cast<void*>(::GetProcAddress(probe, "TandorShopProbeOwnPath")));
  ASSERT_NE(ownPath, nullptr);
  std::vector<char> text(4096);
  const std::size_t length = ownPath(text.data(), text.size());
  const std::string utf8(text.data(), length);
  ::FreeLibrary(probe);

  ASSERT_FALSE(utf8.empty());
  EXPECT_EQ(utf8, wintest::Utf8FromWide(copy.wstring())) << "UTF-8, not the ANSI code page";
  EXPECT_TRUE(fs::equivalent(fs::path(wintest::WideFromUtf8(utf8)), copy));
}

TEST(WindowsPlatform, OwnModulePathOfTheProgram) {
  std::wstring self(32768, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  EXPECT_EQ(OwnModulePath(), wintest::Utf8FromWide(self));
}

// A connected pair of TCP sockets on the loopback interface.
class Loopback : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_NE(listener, INVALID_SOCKET);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    client_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_EQ(::connect(client_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    server_ = ::accept(listener, nullptr, nullptr);
    ::closesocket(listener);
    ASSERT_NE(server_, INVALID_SOCKET);
  }
  void TearDown() override {
    if (client_ != INVALID_SOCKET) ::closesocket(client_);
    if (server_ != INVALID_SOCKET) ::closesocket(server_);
    ::WSACleanup();
  }
  SOCKET client_ = INVALID_SOCKET, server_ = INVALID_SOCKET;
};

TEST_F(Loopback, QuietUntilDataArrivesOrThePeerCloses) {
  EXPECT_FALSE(SocketReadableOrClosed(client_));
  ASSERT_EQ(::send(server_, "x", 1, 0), 1);
  ::Sleep(50);
  EXPECT_TRUE(SocketReadableOrClosed(client_)) << "data waiting";
  char byte;
  ASSERT_EQ(::recv(client_, &byte, 1, 0), 1);
  EXPECT_FALSE(SocketReadableOrClosed(client_));

  ::closesocket(server_);
  server_ = INVALID_SOCKET;
  ::Sleep(50);
  EXPECT_TRUE(SocketReadableOrClosed(client_)) << "peer closed";
}

TEST_F(Loopback, AResetConnectionAndAClosedHandleAreNotQuiet) {
  linger reset{1, 0};  // closing with linger 0 resets the connection
  ::setsockopt(server_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
  ::closesocket(server_);
  server_ = INVALID_SOCKET;
  ::Sleep(50);
  EXPECT_TRUE(SocketReadableOrClosed(client_)) << "reset by the peer";

  const SOCKET closed = client_;
  ::closesocket(client_);
  client_ = INVALID_SOCKET;
  EXPECT_TRUE(SocketReadableOrClosed(closed)) << "no longer a socket";
  EXPECT_TRUE(SocketReadableOrClosed(INVALID_SOCKET));
}

// The local time Windows itself gives for a moment, by the rules of the zone for that date.
SYSTEMTIME WindowsLocalTime(std::time_t moment) {
  const uint64_t ticks = (static_cast<uint64_t>(moment) + 11644473600ULL) * 10000000ULL;
  FILETIME utcFile{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{}, local{};
  ::FileTimeToSystemTime(&utcFile, &utc);
  ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  return local;
}

void ExpectSameLocalTime(std::time_t moment) {
  std::tm ours{};
  ASSERT_TRUE(LocalTime(moment, ours)) << moment;
  const SYSTEMTIME windows = WindowsLocalTime(moment);
  EXPECT_EQ(ours.tm_year + 1900, windows.wYear) << moment;
  EXPECT_EQ(ours.tm_mon + 1, windows.wMonth) << moment;
  EXPECT_EQ(ours.tm_mday, windows.wDay) << moment;
  EXPECT_EQ(ours.tm_hour, windows.wHour) << moment;
  EXPECT_EQ(ours.tm_min, windows.wMinute) << moment;
  EXPECT_EQ(ours.tm_wday, windows.wDayOfWeek) << moment;
}

// Winter and summer (a zone with daylight saving time shows both offsets), a
// year boundary, and a moment past 2038.
TEST(WindowsPlatform, LocalTimeFollowsTheServersZone) {
  for (std::time_t moment : {std::time_t{1796644800}, std::time_t{1783339200}, std::time_t{1798761599},
                             std::time_t{1798761600}, std::time_t{2240524800}})
    ExpectSameLocalTime(moment);
}

TEST(WindowsPlatform, LocalTimeTellsDaylightSavingTimeAndTheDayOfTheYear) {
  std::tm january{}, july{}, leapDay{};
  ASSERT_TRUE(LocalTime(1799928000, january));  // 2027-01-14 12:00 UTC
  ASSERT_TRUE(LocalTime(1815739200, july));     // 2027-07-16 12:00 UTC
  ASSERT_TRUE(LocalTime(1835438400, leapDay));  // 2028-02-29 12:00 UTC
  EXPECT_EQ(january.tm_yday, 13);
  EXPECT_EQ(july.tm_yday, 196);
  EXPECT_EQ(leapDay.tm_yday, 59);
  TIME_ZONE_INFORMATION zone{};
  if (::GetTimeZoneInformation(&zone) == TIME_ZONE_ID_UNKNOWN) {
    EXPECT_EQ(january.tm_isdst, 0);
    EXPECT_EQ(july.tm_isdst, 0);
  } else {
    EXPECT_NE(january.tm_isdst, july.tm_isdst) << "one of them is in daylight saving time";
  }
}

TEST(WindowsPlatform, LocalTimeIsRightOnManyThreadsAtOnce) {
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t, &wrong] {
      const std::time_t moment = 1796644800 + t * 86400 * 40 + t * 3600;
      const SYSTEMTIME expected = WindowsLocalTime(moment);
      for (int i = 0; i < 2000; ++i) {
        std::tm ours{};
        if (!LocalTime(moment, ours) || ours.tm_mday != expected.wDay || ours.tm_hour != expected.wHour ||
            ours.tm_mon + 1 != expected.wMonth)
          ++wrong;
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(WindowsPlatform, LocalTimeRefusesAMomentWindowsCannotConvert) {
  std::tm out{};
  EXPECT_FALSE(LocalTime(-1, out));
}

}  // namespace
