// The plugin loaded into the simulated server, both ways the framework loads it.
#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "AsaApi/Host.h"
#include "testsupport/Database.h"
#include "testsupport/ServerFixture.h"

namespace {

using testsupport::ServerFixture;

int CountThreads() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/task")) {
    while (dirent* entry = ::readdir(dir))
      if (entry->d_name[0] != '.') ++count;
    ::closedir(dir);
  }
  return count;
}

// True once the process has exactly `expected` threads: short-lived ones (the
// version request's) end on their own, slowly on a loaded machine.
bool ThreadsSettleAt(int expected) {
  for (int i = 0; i < 500; ++i) {
    if (CountThreads() == expected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return CountThreads() == expected;
}

// The thread count once short-lived threads (the version request) have ended.
int ThreadCount() {
  int count = CountThreads();
  for (int i = 0; i < 100; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int now = CountThreads();
    if (now == count) return now;
    count = now;
  }
  return count;
}

constexpr const char* BeginPlayName = "AShooterGameMode.BeginPlay()";

class Lifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = testsupport::UniquePrefix("life");
    fixture_.WriteConfig(testsupport::MinimalConfig(prefix_));
  }
  void TearDown() override { testsupport::DropTablesWithPrefix(prefix_); }

  std::string prefix_;
  ServerFixture fixture_;
};

TEST_F(Lifecycle, LoadedAtStartupWaitsForBeginPlayToStartTheWorkers) {
  auto& server = fixture_.Server();
  const int before = ThreadCount();
  fixture_.LoadAtStartup();
  EXPECT_EQ(host::HookCount(BeginPlayName), 1u);
  EXPECT_TRUE(host::CommandRegistry::Get().HasRconCommand(FString("TandorShop.reload")));
  EXPECT_TRUE(host::CommandRegistry::Get().HasConsoleCommand(FString("TandorShop.reload")));
  EXPECT_EQ(testsupport::TablesWithPrefix(prefix_).size(), 9u);
  EXPECT_TRUE(ThreadsSettleAt(before)) << "no worker before the game mode begins play";

  server.BeginPlay();  // through the function table: the hook sees it
  EXPECT_TRUE(server.Ready());
  EXPECT_TRUE(ThreadsSettleAt(before + 2));

  server.UnloadPlugin();
  EXPECT_TRUE(ThreadsSettleAt(before));
  EXPECT_EQ(host::HookCount(BeginPlayName), 0u);
  EXPECT_EQ(host::CommandRegistry::Get().CountAll(), 0u);
  EXPECT_TRUE(server.HostErrors().empty());
}

TEST_F(Lifecycle, LoadedIntoARunningServerStartsTheWorkersAtOnce) {
  auto& server = fixture_.Server();
  const int before = ThreadCount();
  fixture_.LoadIntoRunningServer();
  EXPECT_TRUE(ThreadsSettleAt(before + 2));
  EXPECT_EQ(host::HookCount(BeginPlayName), 1u) << "the game-mode hook is installed all the same";
  EXPECT_EQ(testsupport::TablesWithPrefix(prefix_).size(), 9u);
  server.UnloadPlugin();
  EXPECT_TRUE(ThreadsSettleAt(before));
  EXPECT_EQ(host::HookCount(BeginPlayName), 0u);
}

TEST_F(Lifecycle, AnInvalidFileLeavesThePluginInertAndItUnloadsCleanly) {
  fixture_.WriteRawConfig("{ \"General\": ");
  auto& server = fixture_.Server();
  const int before = ThreadCount();
  fixture_.LoadIntoRunningServer();
  EXPECT_EQ(server.CountLog("[TandorShop][warning] No valid config found. Stopped loading plugin."), 1u);
  EXPECT_EQ(host::HookCount(BeginPlayName), 0u);
  EXPECT_EQ(host::CommandRegistry::Get().CountAll(), 0u);
  EXPECT_TRUE(ThreadsSettleAt(before));
  EXPECT_TRUE(testsupport::TablesWithPrefix(prefix_).empty());

  const std::size_t lines = server.LogLines().size();
  server.UnloadPlugin();
  EXPECT_EQ(server.LogLines().size(), lines) << "unloading an inert plugin logs nothing";
  EXPECT_TRUE(server.HostErrors().empty());
}

TEST_F(Lifecycle, LogLinesCarryTheNameAndLevel) {
  fixture_.WriteRawConfig("[]");  // parses, but holds no General
  fixture_.LoadAtStartup();
  const auto lines = fixture_.Server().LogLines();
  ASSERT_FALSE(lines.empty());
  // "%D %R [%n][%l] %v": date, hour:minute, name, level, text.
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.size() > 15 && line[2] == '/' && line[5] == '/' && line[11] == ':' &&
           line.find(" [TandorShop][warning] Error in ShopConfig ") == 14;
  })) << lines.front();
}

}  // namespace
