// The example shop boots, and a player opens it, browses every category and reads both logs.
#include <algorithm>
#include <fstream>
#include <set>

#include "ModShopFixture.h"
#include "sim/companions/WebServices.h"
#include "sim/world/WorldExtras.h"

namespace {

using nlohmann::json;

void AddTextures(const json& node, sim::Server& server) {
  if (node.is_string() && node.get<std::string>().rfind("Texture2D'", 0) == 0)
    server.Extras().AddTexture(node.get<std::string>());
  if (node.is_structured())
    for (const json& child : node) AddTextures(child, server);
}

TEST_F(ModShop, TheExampleShopOpensAndEveryCategoryAndBothLogsCanBeRead) {
  json example = json::parse(std::ifstream(TANDORSHOP_EXAMPLE_CONFIG));
  example["Mysql"] = testsupport::MysqlSection(prefix_);
  config_ = example;
  AddTextures(example, Server());
  Start();
  EXPECT_TRUE(Server().LogContains("Shop is up to date."));
  const auto global = Mod().GlobalEvents();
  ASSERT_EQ(global.size(), 1u);
  EXPECT_EQ(global[0]["data"]["ShopName"], example["General"]["ShopName"]);
  EXPECT_EQ(global[0]["data"]["RewardIntervalMinutes"], example["General"]["RewardIntervalMinutes"]);
  EXPECT_EQ(global[0]["data"]["ShopIcon"], example["General"]["ShopIconOverride"]);
  EXPECT_EQ(global[0]["data"]["Valid"], 1);

  Server().SetGroups("ExamplePlayer", {"Vip"});
  sim::PlayerSpec spec = sim::PlayerSpec::Of("ExamplePlayer", "Explorer");
  spec.LinkedPlayerId = 21;
  spec.Level = 60;
  auto& player = Server().JoinPlayer(spec);
  Mod().Send(player, TandorShopMod::MsgOpenShop);
  ASSERT_TRUE(WaitForEvents("ExamplePlayer", "a_openshop", 1));
  const json open = Mod().EventsOf("ExamplePlayer", "a_openshop")[0];
  std::vector<std::string> shown;
  for (const json& category : open["Categories"]) shown.push_back(category["Name"]);
  std::vector<std::string> expected;
  for (const json& category : example["ShopCategories"]) expected.push_back(category["Name"]);
  EXPECT_EQ(shown, expected) << "a Vip sees every category of the example";
  EXPECT_EQ(open["PassivePoints"], 25);

  std::multiset<std::string> listed;
  for (int index = 0; index < static_cast<int>(expected.size()); ++index) {
    Server().AdvanceClock(1);
    Mod().Send(player, TandorShopMod::MsgCategory, index);
    fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(150));
  }
  for (const json& batch : Mod().EventsOf("ExamplePlayer", "a_cat"))
    for (const json& view : batch) listed.insert(view["PacketName"].get<std::string>());
  // What a level 60 Vip on TheIsland_WP may see; calendar-bound packets depend on the day and are left out.
  for (const json& packet : example["ShopPackets"]) {
    if (packet.contains("ExtraTimeSettings")) continue;
    const json maps = packet.value("OnlyOnTheseMaps", json::array());
    const bool shown = !packet.value("HideFromBuy", false) && packet.value("MaxCharLevel", 0) == 0 &&
                       (maps.empty() || std::find(maps.begin(), maps.end(), "TheIsland_WP") != maps.end());
    EXPECT_EQ(listed.count(packet["PacketName"]), shown ? 1u : 0u) << packet["PacketName"];
  }

  auto sql = Sql();
  sql.Exec("INSERT INTO " + prefix_ + "_shoplog (eosId,packet,descr,timestamp,amount,points_change,isBuy) VALUES "
           "('ExamplePlayer','Starter Kit','d',100,1,-50,1)");
  sql.Exec("INSERT INTO " + prefix_ + "_tradelog (eosid_from,eosid_to,from_name,to_name,timestamp,amount) VALUES "
           "('Other','ExamplePlayer','Other (Tribe)','Me',200,40)");
  Mod().Send(player, TandorShopMod::MsgShopLog);
  Mod().Send(player, TandorShopMod::MsgTradeLog);
  // The two lists are read by different workers and may arrive in either order.
  ASSERT_TRUE(WaitForEvents("ExamplePlayer", "a_init_log_trade", 1));
  ASSERT_TRUE(WaitForEvents("ExamplePlayer", "a_init_log_buy", 1));
  const json shopLog = Mod().EventsOf("ExamplePlayer", "a_init_log_buy").at(0);
  EXPECT_EQ(shopLog[0]["Packet"], "Starter Kit");
  EXPECT_EQ(shopLog[0]["PointsChange"], -50);
  const json tradeLog = Mod().EventsOf("ExamplePlayer", "a_init_log_trade")[0];
  EXPECT_EQ(tradeLog[0]["PartnerName"], "Other (Tribe)");
  EXPECT_EQ(tradeLog[0]["Amount"], 40);
  EXPECT_TRUE(Mod().Errors().empty()) << Mod().Errors()[0];
  EXPECT_TRUE(Server().HostErrors().empty());
}

}  // namespace
