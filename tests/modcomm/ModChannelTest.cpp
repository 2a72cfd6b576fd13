// Opening the shop, throttling, categories, the version answers that open or keep closed the mod channel.
#include <filesystem>

#include "ModShopFixture.h"
#include "AsaApi/Host.h"
#include "sim/companions/WebServices.h"

namespace {

using nlohmann::json;

TEST_F(ModShop, OpeningTheShopSendsPointsCooldownsGroupsAndCategories) {
  Start();
  EXPECT_TRUE(Server().LogContains("Shop is up to date."));
  auto& alice = Join("AliceEos", 11, {"VIP", "Gold"});
  // Known packet with a player cooldown, a packet without one, one that does not exist.
  ASSERT_TRUE(fixture_.TickUntil([&] { return Sql().Number("SELECT COUNT(*) FROM " + prefix_ + "_player_points") == 1; }));
  auto sql = Sql();
  sql.Exec("UPDATE " + prefix_ + "_player_points SET points=1234");
  sql.Exec("INSERT INTO " + prefix_ + "_player_cooldowns (eosId,packetName,lastUse) VALUES ('AliceEos','member box',"
           "1700000000),('AliceEos','Kit 01',1700000001),('AliceEos','Gone',1700000002)");
  // A server cooldown line that still runs, one of a packet without a server cooldown.
  std::ofstream(fixture_.Dir() + "/ArkApi/Plugins/TandorShop/packetCds.txt") << "Kit 02,1\n";

  ASSERT_TRUE(Mod().Send(alice, TandorShopMod::MsgOpenShop));
  ASSERT_TRUE(WaitForEvents("AliceEos", "a_openshop", 1));
  const json block = Mod().EventsOf("AliceEos", "a_openshop")[0];
  EXPECT_EQ(block["Points"], 1234);
  EXPECT_EQ(block["PassivePoints"], 10) << "the largest of 5 and 10";
  EXPECT_EQ(block["PlayerCooldowns"], json::parse(R"([{"PacketId": 15, "LastUse": 1700000000}])"));
  EXPECT_EQ(block["ServerCooldowns"], json::array());
  ASSERT_EQ(block["Categories"].size(), 2u) << block.dump();
  EXPECT_EQ(block["Categories"][0]["Name"], "Kits");
  EXPECT_EQ(block["Categories"][1]["Name"], "Members");
  EXPECT_EQ(block["Categories"][0]["Icon"], nullptr) << "an unknown texture is sent as null";
  EXPECT_TRUE(Server().LogContains("Failed to load Texture Texture2D'/Game/Icons/Kits.Kits'"));
  EXPECT_TRUE(Mod().Errors().empty()) << Mod().Errors()[0];
  EXPECT_TRUE(Server().HostErrors().empty());
}

TEST_F(ModShop, ThrottlePerMessageKindAndPerPlayer) {
  Start();
  auto& alice = Join("AliceEos", 11);
  auto& bob = Join("BobEos", 12);
  const std::size_t before = Mod().MessagesReachingGame();
  EXPECT_TRUE(Mod().Send(alice, TandorShopMod::MsgOpenShop));
  EXPECT_TRUE(Mod().Send(alice, TandorShopMod::MsgOpenShop));  // refused: same kind, same player, at once
  EXPECT_TRUE(Mod().Send(alice, TandorShopMod::MsgCategory, 0));  // another kind
  EXPECT_TRUE(Mod().Send(bob, TandorShopMod::MsgOpenShop));       // another player
  EXPECT_TRUE(Mod().Send(alice, "SomebodyElsesMessage"));
  EXPECT_EQ(Mod().MessagesReachingGame(), before + 5) << "every message reaches the game's own function";

  ASSERT_TRUE(WaitForEvents("AliceEos", "a_cat", 2));
  ASSERT_TRUE(WaitForEvents("BobEos", "a_openshop", 1));
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(Mod().EventsOf("AliceEos", "a_openshop").size(), 1u);

  Server().AdvanceClock(1);  // past the 501 ms window
  Mod().Send(alice, TandorShopMod::MsgOpenShop);
  EXPECT_TRUE(WaitForEvents("AliceEos", "a_openshop", 2));
}

TEST_F(ModShop, CategoryListsOnlyWhatThePlayerMaySee) {
  config_["ShopPackets"][0]["MaxCharLevel"] = 50;          // Kit 01
  config_["ShopPackets"][1]["OnlyOnTheseMaps"] = {"theisland_wp"};  // Kit 02: this map, other case
  config_["ShopPackets"][2]["OnlyOnTheseMaps"] = {"Ragnarok_WP"};   // Kit 03: elsewhere
  config_["ShopPackets"][3]["EarliestAvailableAtServerTimeHours"] = 10;  // Kit 04: listed at 8.5 h
  config_["ShopPackets"][4]["EarliestAvailableAtServerTimeHours"] = 11;  // Kit 05: not yet
  config_["ShopPackets"][5]["IncludeGroups"] = {"Gold"};  // Kit 06
  config_["ShopPackets"][6]["HideFromBuy"] = true;        // Kit 07
  config_["ShopPackets"][7]["ExcludeFromDiscount"] = true;  // Kit 08
  Start();
  Mod().SetGameTime(8.5 * 3600);
  sim::PlayerSpec spec = sim::PlayerSpec::Of("HighEos");
  spec.Level = 51;
  spec.LinkedPlayerId = 5;
  Server().SetGroups("HighEos", {"VIP"});
  auto& high = Server().JoinPlayer(spec);
  Mod().Send(high, TandorShopMod::MsgCategory, 0);
  ASSERT_TRUE(WaitForEvents("HighEos", "a_cat", 1));
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(200));
  std::vector<std::string> names;
  for (const json& batch : Mod().EventsOf("HighEos", "a_cat"))
    for (const json& view : batch) {
      names.push_back(view["PacketName"]);
      EXPECT_NEAR(view["Discount"].get<double>(), view["PacketName"] == "Kit 08" ? 0.0 : 0.1, 1e-6);
    }
  EXPECT_EQ(names, (std::vector<std::string>{"Kit 02", "Kit 04", "Kit 08", "Kit 09", "Kit 10", "Kit 11", "Kit 12",
                                             "Kit 13", "Kit 14", "Kit 15"}));

  for (int index : {-1, 3, 2}) {  // out of range, and a category whose groups exclude the player
    Server().SetGroups("HighEos", {"Banned"});
    Server().AdvanceClock(1);
    Mod().Send(high, TandorShopMod::MsgCategory, index);
  }
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(Mod().EventsOf("HighEos", "a_cat").size(), 1u);
}

TEST_F(ModShop, LogsComeInBatchesOfFiftyInDatabaseOrder) {
  Start();
  auto& alice = Join("AliceEos", 11);
  auto sql = Sql();
  for (int i = 0; i < 60; ++i)
    sql.Exec("INSERT INTO " + prefix_ + "_shoplog (eosId,packet,descr,timestamp,serverid,amount,points_change,newpoints,"
             "redeemsLeft,isBuy,isRedeem,isSell) VALUES ('AliceEos','Kit 01','d'," + std::to_string(1000 + i) +
             ",1,1,-10,0,0,1,0,0)");
  sql.Exec("INSERT INTO " + prefix_ + "_tradelog (eosid_from,eosid_to,from_name,to_name,timestamp,serverid,amount,"
           "points_after_from,points_after_to) VALUES ('AliceEos','BobEos','Alice','Bob',5,1,30,0,0)");
  Mod().Send(alice, TandorShopMod::MsgShopLog);
  Mod().Send(alice, TandorShopMod::MsgTradeLog);
  ASSERT_TRUE(WaitForEvents("AliceEos", "a_init_log_buy", 2));
  ASSERT_TRUE(WaitForEvents("AliceEos", "a_init_log_trade", 1));
  const auto batches = Mod().EventsOf("AliceEos", "a_init_log_buy");
  EXPECT_EQ(batches[0].size(), 50u);
  EXPECT_EQ(batches[1].size(), 10u);
  const json trade = Mod().EventsOf("AliceEos", "a_init_log_trade")[0];
  ASSERT_EQ(trade.size(), 1u);
  EXPECT_EQ(trade[0]["PartnerEosId"], "BobEos");
  EXPECT_EQ(trade[0]["Amount"], -30);
  EXPECT_TRUE(Mod().Errors().empty());
}

TEST_F(ModShop, APlayerWhoLeavesBeforeTheAnswerGetsNothingAndNothingBreaks) {
  Start();
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgOpenShop);
  Mod().Send(alice, TandorShopMod::MsgShopLog);
  Server().LeavePlayer("AliceEos");
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_TRUE(Mod().EventsOf("AliceEos").empty());
  EXPECT_TRUE(Server().HostErrors().empty());
}

TEST_F(ModShop, AnEventOfAnotherSizeIsSentZeroedAtTheLargerSize) {
  Start();
  Mod().SetParmsSize("a_openshop", 104);  // a mod whose block grew
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgOpenShop);
  ASSERT_TRUE(fixture_.TickUntil([&] { return !Mod().Errors().empty(); }));
  EXPECT_EQ(Mod().Errors()[0], "a_openshop: 104 bytes passed, 96 expected");
  EXPECT_TRUE(Server().LogContains("Event a_openshop expects 104 bytes of parameters, the shop has 96; sent zeroed"));
}

// ---- the version answer ----------------------------------------------------

struct VersionCase {
  std::string Body;
  bool Opens;
  std::string Log;
};

class VersionAnswer : public ModShop, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionAnswer, OpensTheShopOnlyWhenThisVersionIsAccepted) {
  Server().Version().SetAnswer(200, GetParam().Body);
  fixture_.WriteConfig(config_);
  fixture_.LoadIntoRunningServer();
  ASSERT_TRUE(fixture_.TickUntil([&] { return Server().LogContains(GetParam().Log); })) << GetParam().Body;
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(fixture_.ShopOpen(), GetParam().Opens);
  EXPECT_EQ(host::HookCount(TandorShopMod::NetExecFunction), GetParam().Opens ? 1u : 0u);
  EXPECT_EQ(Mod().GlobalEvents().size(), GetParam().Opens ? 1u : 0u);
}

std::string CaseName(const ::testing::TestParamInfo<VersionCase>& info) {
  static const char* names[] = {"UpToDate", "OptionalUpdate", "Refused", "RoundsToThisVersion",
                                "EmptyObject", "NotJson", "NotANumber", "EmptyBody"};
  return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(
    Answers, VersionAnswer,
    ::testing::Values(VersionCase{R"({"version": 1.01, "min_version": 1.0})", true, "[info] Shop is up to date."},
                      VersionCase{R"({"version": 1.02, "min_version": 1.0})", true,
                                  "[warning] There is a new optional shop update to version 1.02, your version is 1.01"},
                      VersionCase{R"({"version": 1.02, "min_version": 1.011})", false,
                                  "[error] Minimum required shop version is 1.01, your version is 1.01. Shop not loaded."},
                      VersionCase{R"({"version": 1.01, "min_version": 1.0104})", true, "Shop is up to date."},
                      VersionCase{R"({})", true, "Shop is up to date."},
                      VersionCase{R"(<html>oops</html>)", false, "[warning] version check error: "},
                      VersionCase{R"({"version": "new"})", false, "[warning] version check error: "},
                      VersionCase{"", false,
                                  "[warning] Failed to check if Shop-Plugin is compatible with the Mod. Skipped "
                                  "loading to avoid potential crashes."}),
    CaseName);

TEST_F(ModShop, ServiceDownKeepsTheShopClosedButLoginsStillComplete) {
  Server().Version().SetAnswer(503, "busy");
  fixture_.WriteConfig(config_);
  fixture_.LoadIntoRunningServer();
  ASSERT_TRUE(fixture_.TickUntil([&] { return Server().LogContains("Failed to check if Shop-Plugin"); }));
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgOpenShop);
  ASSERT_TRUE(fixture_.TickUntil([&] { return Sql().Number("SELECT COUNT(*) FROM " + prefix_ + "_player_points") == 1; }));
  // ts.points hands the login's result back although tan_shp is not there.
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(300));
  Server().RunSeconds(120);
  Server().LeavePlayer("AliceEos");
  const std::string query = "SELECT COUNT(*) FROM " + prefix_ +
                            "_player_points WHERE eosId='AliceEos' AND secondsWithoutReward BETWEEN 110 AND 121";
  ASSERT_TRUE(fixture_.TickUntil([&] { return Sql().Number(query) == 1; }));
  EXPECT_FALSE(fixture_.ShopOpen());
  EXPECT_TRUE(Mod().EventsOf("AliceEos", "a_openshop").empty());
}

TEST_F(ModShop, ASecondVersionAnswerDoesNotStartTheChannelAgain) {
  Start();
  Server().BeginPlay();  // the game mode begins play again: another version request
  ASSERT_TRUE(fixture_.TickUntil([&] { return Server().CountLog("Shop is up to date.") == 2; }));
  EXPECT_EQ(host::HookCount(TandorShopMod::NetExecFunction), 1u);
  EXPECT_EQ(Mod().GlobalEvents().size(), 1u);
}

}  // namespace
