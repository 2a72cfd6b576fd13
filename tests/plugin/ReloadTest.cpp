// "TandorShop.reload" over a real RCON socket and over the console.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "AsaApi/Game/RCON.h"
#include "AsaApi/Host.h"
#include "testsupport/Database.h"
#include "testsupport/RconClient.h"
#include "testsupport/ServerFixture.h"

namespace {

using testsupport::ServerFixture;

class Reload : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = testsupport::UniquePrefix("reload");
    config_ = testsupport::MinimalConfig(prefix_);
    config_["ShopCategories"] = nlohmann::json::parse(R"([{"Name": "Kits"}])");
    config_["ShopPackets"] = nlohmann::json::parse(R"([{"ShopCategory": "Kits", "PacketName": "Kit", "Price": 5}])");
    fixture_.WriteConfig(config_);
    fixture_.LoadIntoRunningServer();
  }
  void TearDown() override { testsupport::DropTablesWithPrefix(prefix_); }

  // A reload that reads a file with an invalid shop key logs one more warning.
  void UseInvalidShopKey() {
    config_["General"]["ShopKey"] = "F99";
    fixture_.WriteConfig(config_);
  }
  std::size_t ShopKeyWarnings() { return fixture_.Server().CountLog("Shop key invalid"); }

  std::string prefix_;
  nlohmann::json config_;
  ServerFixture fixture_;
};

TEST_F(Reload, OverRconRepliesOnTheSocket) {
  EXPECT_EQ(fixture_.Rcon("TandorShop.reload"), "TandorShop config reloaded.\n");
  UseInvalidShopKey();
  EXPECT_EQ(fixture_.Rcon("TandorShop.reload"), "TandorShop config reloaded. (1 warnings, see the log)\n");
  EXPECT_EQ(ShopKeyWarnings(), 1u) << "the file was read again";

  fixture_.WriteRawConfig("{ broken");
  EXPECT_EQ(fixture_.Rcon("TandorShop.reload"), "TandorShop failed to reload config.\n");
  EXPECT_EQ(ShopKeyWarnings(), 1u) << "a failed load reads nothing";
  EXPECT_TRUE(fixture_.Server().HostErrors().empty());
}

TEST_F(Reload, CommandNamesAreCaseInsensitiveAndRepliesComeInOrder) {
  testsupport::RconClient client("127.0.0.1", fixture_.Server().RconPort());
  auto pump = [this] { fixture_.Server().Tick(); };
  ASSERT_TRUE(client.Authenticate(fixture_.Server().RconPassword(), pump));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(client.Execute("tandorshop.RELOAD", pump), "TandorShop config reloaded.\n");
  testsupport::RconClient intruder("127.0.0.1", fixture_.Server().RconPort());
  EXPECT_FALSE(intruder.Authenticate("wrong", pump));
}

TEST_F(Reload, WithoutAConnectionItReloadsAndRepliesNowhere) {
  UseInvalidShopKey();
  RCONPacket packet{0, 7, 2, FString("TandorShop.reload")};
  EXPECT_TRUE(host::CommandRegistry::Get().DispatchRcon(nullptr, &packet, nullptr));
  EXPECT_EQ(ShopKeyWarnings(), 1u);
  EXPECT_TRUE(fixture_.Server().HostErrors().empty());
}

TEST_F(Reload, OverTheConsoleRepliesToTheAdminWhoTypedIt) {
  auto& server = fixture_.Server();
  server.JoinPlayer(sim::PlayerSpec::Of("0002admin", "Boss", true));
  EXPECT_TRUE(server.Console("0002admin", "TandorShop.reload"));
  const auto lines = server.LogLines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) {
                            return line.find("[info] console 0002admin (") != std::string::npos &&
                                   line.find("): TandorShop.reload: Shop Config reloaded.") != std::string::npos;
                          }),
            1);
  fixture_.WriteRawConfig("not json");
  EXPECT_TRUE(server.Console("0002admin", "TandorShop.reload"));
  const auto& messages = server.MessagesOf("0002admin");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].Sender, "TandorShop");
  EXPECT_EQ(messages[0].Text, "Shop Config reloaded.");
  EXPECT_EQ(messages[1].Text, "Failed to reload config.");
}

TEST_F(Reload, FromTheServerConsoleItReloadsSilently) {
  UseInvalidShopKey();
  auto& server = fixture_.Server();
  server.JoinPlayer(sim::PlayerSpec::Of("0002bystander"));
  EXPECT_TRUE(server.Console("", "TandorShop.reload"));
  EXPECT_EQ(ShopKeyWarnings(), 1u);
  EXPECT_TRUE(server.MessagesOf("0002bystander").empty());
}

TEST_F(Reload, ANonAdminPlayersConsoleReloadDoesNothing) {
  UseInvalidShopKey();
  auto& server = fixture_.Server();
  server.JoinPlayer(sim::PlayerSpec::Of("0002player"));
  server.Console("0002player", "TandorShop.reload");
  EXPECT_EQ(ShopKeyWarnings(), 0u) << "the file was not read";
  EXPECT_TRUE(server.MessagesOf("0002player").empty());
}

// Whatever is wrong with the new file, the shop keeps its catalogue and its
// database: the packet is still found and the points still read from the old tables.
TEST_F(Reload, AFileInErrorLeavesTheRunningShopUntouched) {
  ASSERT_EQ(fixture_.Rcon("GetPlayerPoints 0002ann"), "Player has 0 points.");  // creates the row
  ASSERT_EQ(fixture_.Rcon("SetPoints 0002ann 5"), "Set points for 0002ann to 5.");
  ASSERT_TRUE(fixture_.TickUntil([&] { return fixture_.Rcon("GetPlayerPoints 0002ann") == "Player has 5 points."; }));
  EXPECT_EQ(fixture_.Server().CountLog("loaded: 1 categories, 1 packets, 0 variants; database "), 1u);

  nlohmann::json wrongType = config_;
  wrongType["ShopPackets"][0]["Price"] = "5";
  wrongType["Mysql"]["tablePrefix"] = prefix_ + "_other";
  nlohmann::json noMysql = config_;
  noMysql.erase("Mysql");
  nlohmann::json brokenMysql = config_;
  brokenMysql["Mysql"]["port"] = "3306";
  for (const std::string& text : {wrongType.dump(), noMysql.dump(), brokenMysql.dump(), std::string("{ \"General\": "),
                                  std::string()}) {
    fixture_.WriteRawConfig(text);
    EXPECT_EQ(fixture_.Rcon("TandorShop.reload"), "TandorShop failed to reload config.\n") << text;
    EXPECT_NE(fixture_.Rcon("ChangeKitAmount 0002ann Kit 1"), "Packet not found.") << text;
    EXPECT_EQ(fixture_.Rcon("GetPlayerPoints 0002ann"), "Player has 5 points.") << text;
  }
  EXPECT_EQ(fixture_.Server().CountLog("Error in ShopConfig ShopPackets[0] \"Kit\": type must be number"), 1u);
  EXPECT_EQ(fixture_.Server().CountLog("reloaded: 1 categories"), 0u);
  EXPECT_EQ(fixture_.Server().CountLog("Config not reloaded: 1 error(s) in the file"), 3u) << "wrong type and Mysql";

  fixture_.WriteConfig(config_);
  EXPECT_EQ(fixture_.Rcon("TandorShop.reload"), "TandorShop config reloaded.\n");
  EXPECT_EQ(fixture_.Server().CountLog("reloaded: 1 categories, 1 packets, 0 variants; database "), 1u);
}

}  // namespace
