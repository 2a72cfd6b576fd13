// The server cooldowns: read from the file at start, pruned in memory, and
// written back atomically on a worker only when they changed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "AsaApi/Host.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/ThreadPool.h"
#include "shop/Cooldowns.h"

namespace {

using namespace TandorShop;
namespace fs = std::filesystem;

class CooldownFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tandorshop-cd-" + std::to_string(::getpid()));
    fs::create_directories(dir_ / "ArkApi/Plugins/TandorShop");
    host::SetCurrentDir(dir_.string());
    Cooldowns::ComputeCooldownFilePath();
    auto& packets = ConfigHelper::ShopConfig().ShopPackets;
    packets.Empty();
    Add("Daily", 1, 86400);
    Add(u"W\u00f6chentlich", 2, 7 * 86400);
    Add("Free", 3, 0);
  }
  void TearDown() override {
    Pool().StopWorkers();
    ConfigHelper::ShopConfig().ShopPackets.Empty();
    fs::remove_all(dir_);
  }
  static void Add(FString name, int32_t id, int32_t serverCooldown) {
    ConfigHelper::ConfigShopPacket packet;
    packet.PacketName = std::move(name);
    packet.Id = id;
    packet.ServerCooldown = serverCooldown;
    ConfigHelper::ShopConfig().ShopPackets.Add(std::move(packet));
  }
  // The file once the writes posted so far have run.
  std::string Content() {
    Pool().StopWorkers();
    std::ifstream in(Cooldowns::CooldownFilePath());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  ino_t Inode() {
    Pool().StopWorkers();
    struct stat info {};
    ::stat(Cooldowns::CooldownFilePath().c_str(), &info);
    return info.st_ino;
  }
  fs::path dir_;
};

TEST_F(CooldownFile, PrunesExpiredLinesKeepsOthersAndReadsUtf8Names) {
  const int64_t now = Clock::NowUnix();
  const std::string running = std::to_string(now - 100), expired = std::to_string(now - 90000);
  std::ofstream(Cooldowns::CooldownFilePath()) << "Kit,abc\nKit\nDaily," << expired << "\nDaily," << running
                                               << "\nW\xc3\xb6" "chentlich," << running
                                               << "\nDaily,99999999999999999999999\nFree," << running << "\n";
  Cooldowns::LoadServerCooldownFile();
  TArray<ModComm::CooldownPair> pairs;
  Cooldowns::LoadServerCooldowns(pairs);
  ASSERT_EQ(pairs.Num(), 2);
  EXPECT_EQ(pairs[0].PacketId, 2) << "reverse file order";
  EXPECT_EQ(pairs[1].PacketId, 1);
  EXPECT_EQ(Content(), "Kit,abc\nKit\nDaily," + running + "\nW\xc3\xb6" "chentlich," + running +
                           "\nDaily,99999999999999999999999\nFree," + running + "\n");
  EXPECT_FALSE(fs::exists(Cooldowns::CooldownFilePath() + ".tmp"));

  const ino_t before = Inode();
  Cooldowns::LoadServerCooldowns(pairs);
  EXPECT_EQ(Inode(), before) << "unchanged content is not rewritten";
}

TEST_F(CooldownFile, AServerCooldownHoldsAcrossARestart) {
  const int64_t now = Clock::NowUnix();
  Cooldowns::AppendServerCooldown(FString(u"W\u00f6chentlich"), now);
  EXPECT_NE(Content(), "");
  // A new run: the path is computed again and the file read back.
  Cooldowns::ComputeCooldownFilePath();
  Cooldowns::LoadServerCooldownFile();
  const auto& packets = ConfigHelper::ShopConfig().ShopPackets;
  EXPECT_TRUE(Cooldowns::IsOnServerCooldown(now + 3600, &packets[1]));
  EXPECT_FALSE(Cooldowns::IsOnServerCooldown(now + 3600, &packets[0]));
  host::AdvanceClock(8 * 86400);
  EXPECT_FALSE(Cooldowns::IsOnServerCooldown(now + 8 * 86400, &packets[1]));
  EXPECT_EQ(Content(), "") << "the expired line went";
  host::ResetClock();
}

}  // namespace
