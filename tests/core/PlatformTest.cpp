// The operating-system calls behind the platform interface, on this system, and
// the checked multiplication every compiler gets.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <limits>

#include "core/CheckedMath.h"
#include "core/Platform.h"

namespace {

using TandorShop::Platform::FindLoadedExport;
using TandorShop::Platform::OwnModulePath;
using TandorShop::Platform::SocketReadableOrClosed;

TEST(Platform, FindsExportsOfLoadedModulesOnly) {
  EXPECT_NE(FindLoadedExport("malloc"), nullptr) << "the C library is loaded in every process";
  EXPECT_EQ(FindLoadedExport("TandorShopNoSuchExport"), nullptr);
}

TEST(Platform, OwnModulePathNamesAnExistingFile) {
  const std::string path = OwnModulePath();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

// A connection is "quiet" only while it is open and nothing waits to be read.
TEST(Platform, SocketIsQuietUntilDataArrivesOrThePeerCloses) {
  int pair[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  EXPECT_FALSE(SocketReadableOrClosed(pair[0]));
  ASSERT_EQ(::write(pair[1], "x", 1), 1);
  EXPECT_TRUE(SocketReadableOrClosed(pair[0])) << "data waiting";
  char byte;
  ASSERT_EQ(::read(pair[0], &byte, 1), 1);
  EXPECT_FALSE(SocketReadableOrClosed(pair[0]));
  ::close(pair[1]);
  EXPECT_TRUE(SocketReadableOrClosed(pair[0])) << "peer closed";
  ::close(pair[0]);
  EXPECT_TRUE(SocketReadableOrClosed(pair[0])) << "no longer a socket";
  EXPECT_TRUE(SocketReadableOrClosed(-1));
}

}  // namespace

namespace {

// The portable branch is what MSVC builds; it must agree with the builtin everywhere, edges first.
TEST(CheckedMath, PortableMultiplyAgreesWithTheBuiltin) {
  constexpr int64_t max = std::numeric_limits<int64_t>::max(), min = std::numeric_limits<int64_t>::min();
  const int64_t values[] = {0, 1, -1, 2, -2, 3, 46341, -46341, 3037000499, 3037000500, -3037000500,
                            max / 2, min / 2, max - 1, max, min + 1, min};
  for (int64_t a : values)
    for (int64_t b : values) {
      int64_t builtin = 7, portable = 7;
      const bool builtinOverflows = __builtin_mul_overflow(a, b, &builtin);
      ASSERT_EQ(TandorShop::MultiplyOverflowsPortable(a, b, portable), builtinOverflows) << a << " * " << b;
      if (!builtinOverflows) {
        ASSERT_EQ(portable, builtin) << a << " * " << b;
      }
      int64_t chosen = 7;
      EXPECT_EQ(TandorShop::MultiplyOverflows(a, b, chosen), builtinOverflows);
      EXPECT_EQ(chosen, builtinOverflows ? 7 : builtin) << "untouched on overflow";
    }
}

TEST(Platform, LocalTimeOfAKnownMomentInUtc) {
  // 2026-12-07 is a Monday; the test process runs in the system's zone, so only the date is
  // checked at noon UTC, which is the same day in every zone from UTC-11 to UTC+11.
  std::tm local{};
  ASSERT_TRUE(TandorShop::Platform::LocalTime(1796644800, local));
  EXPECT_EQ(local.tm_year, 126);
  EXPECT_EQ(local.tm_mon, 11);
  EXPECT_EQ(local.tm_mday, 7);
  EXPECT_EQ(local.tm_wday, 1);
}

}  // namespace
