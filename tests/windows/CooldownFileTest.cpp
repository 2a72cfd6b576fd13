// The server cooldown file on Windows: in a server folder whose name is not
// ASCII, and replaced while another program holds it open, as a backup tool
// would. The framework tells the server folder as narrow text, in the ANSI code
// page, as Windows' narrow functions give it.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "AsaApi/Host.h"
#include "WindowsTestSupport.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/ThreadPool.h"
#include "shop/Cooldowns.h"

namespace {

using namespace TandorShop;
namespace fs = std::filesystem;

class WindowsCooldownFile : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(server_.Path() / L"ArkApi/Plugins/TandorShop");
    ASSERT_FALSE(server_.Narrow().empty()) << "the folder's name is not in this system's ANSI code page";
    ASSERT_NE(server_.Narrow(), server_.Utf8()) << "non-ASCII";
    host::SetCurrentDir(server_.Narrow());
    Cooldowns::ComputeCooldownFilePath();
    Cooldowns::LoadServerCooldownFile();  // no file yet: no lines left from the test before
    file_ = server_.Path() / L"ArkApi/Plugins/TandorShop/packetCds.txt";
    auto& packets = ConfigHelper::ShopConfig().ShopPackets;
    packets.Empty();
    ConfigHelper::ConfigShopPacket packet;
    packet.PacketName = FString(u"W\u00f6chentlich");
    packet.Id = 2;
    packet.ServerCooldown = 7 * 86400;
    packets.Add(std::move(packet));
  }
  void TearDown() override {
    Pool().StopWorkers();
    ConfigHelper::ShopConfig().ShopPackets.Empty();
  }
  // The file, read through its wide name, once the writes posted so far have run.
  std::string Content() {
    Pool().StopWorkers();
    std::ifstream in(file_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  const ConfigHelper::ConfigShopPacket& Weekly() const { return ConfigHelper::ShopConfig().ShopPackets[0]; }

  wintest::NonAsciiFolder server_{L"server-" + wintest::kWestern};
  fs::path file_;
};

TEST_F(WindowsCooldownFile, WrittenAndReadBackInAServerFolderWithNonAsciiName) {
  const int64_t now = Clock::NowUnix();
  Cooldowns::AppendServerCooldown(Weekly().PacketName, now);
  EXPECT_EQ(Content(), "W\xc3\xb6" "chentlich," + std::to_string(now) + "\n");
  EXPECT_FALSE(fs::exists(fs::path(file_) += L".tmp"));

  // A new run reads it back from the same folder.
  Cooldowns::ComputeCooldownFilePath();
  Cooldowns::LoadServerCooldownFile();
  EXPECT_TRUE(Cooldowns::IsOnServerCooldown(now + 3600, &Weekly()));
}

// Another program holds the file open, sharing it the way Windows' backup and
// copy tools do (read, write and delete shared): the plugin still replaces it,
// where a rename over the file would be refused.
TEST_F(WindowsCooldownFile, ReplacedWhileAnotherHandleHoldsItOpen) {
  const int64_t now = Clock::NowUnix();
  Cooldowns::AppendServerCooldown(Weekly().PacketName, now - 10);
  ASSERT_NE(Content(), "");

  HANDLE held = ::CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Cooldowns::AppendServerCooldown(Weekly().PacketName, now);
  const std::string after = Content();
  ::CloseHandle(held);

  EXPECT_EQ(after, "W\xc3\xb6" "chentlich," + std::to_string(now - 10) + "\nW\xc3\xb6" "chentlich," +
                       std::to_string(now) + "\n");
  EXPECT_FALSE(fs::exists(fs::path(file_) += L".tmp"));
}

// A program that does not share deletion (most editors) keeps the file from
// being replaced while it holds it; the lines stay in memory and the next
// change writes them all.
TEST_F(WindowsCooldownFile, HeldWithoutDeleteSharingItCatchesUpWithTheNextChange) {
  const int64_t now = Clock::NowUnix();
  Cooldowns::AppendServerCooldown(Weekly().PacketName, now - 10);
  const std::string before = Content();
  ASSERT_NE(before, "");

  HANDLE held = ::CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Cooldowns::AppendServerCooldown(Weekly().PacketName, now);
  EXPECT_EQ(Content(), before) << "not replaced while held";
  ::CloseHandle(held);

  Cooldowns::AppendServerCooldown(Weekly().PacketName, now + 1);
  const std::string name = "W\xc3\xb6" "chentlich,";
  EXPECT_EQ(Content(), name + std::to_string(now - 10) + "\n" + name + std::to_string(now) + "\n" + name +
                           std::to_string(now + 1) + "\n");
  EXPECT_TRUE(Cooldowns::IsOnServerCooldown(now + 2, &Weekly()));
}

}  // namespace
