// The passive reward by permission group, seconds carried over a logout, on-join rewards.
#include <limits>
#include <thread>

#include "ModShopFixture.h"
#include "points/OnlinePlayers.h"

namespace {

class PassiveReward : public ModShop {
 protected:
  // Joins and waits until the player's stored seconds have been read back.
  sim::SimPlayer& JoinAndSettle(const std::string& eosId, uint64_t linkedId, std::vector<std::string> groups = {}) {
    sim::SimPlayer& player = Join(eosId, linkedId, std::move(groups));
    // Without ticking, so no reward check runs before the stored seconds are back.
    const std::string query = "SELECT COUNT(*) FROM " + prefix_ + "_player_points WHERE eosId='" + eosId + "'";
    for (int i = 0; i < 500 && Sql().Number(query) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Server().Tick();  // tan_shp hands the result back before the timers run
    return player;
  }
  std::vector<std::string> Texts(const std::string& eosId) {
    std::vector<std::string> texts;
    for (const auto& message : Server().MessagesOf(eosId)) texts.push_back(message.Text);
    return texts;
  }
  int64_t Points(const std::string& eosId) {
    return Sql().Number("SELECT points FROM " + prefix_ + "_player_points WHERE eosId='" + eosId + "'");
  }
  // The player is told once the credit committed: a little after the check.
  bool WaitForTexts(const std::string& eosId, std::size_t count) {
    return fixture_.TickUntil([&] { return Texts(eosId).size() >= count; }, std::chrono::seconds(5));
  }
  void ExpectRewards(const std::string& eosId, int amount) {
    WaitForTexts(eosId, 1);
    const auto texts = Texts(eosId);
    ASSERT_FALSE(texts.empty());
    for (const std::string& text : texts) EXPECT_EQ(text, "You received " + std::to_string(amount) + " points.");
    const int64_t expected = static_cast<int64_t>(texts.size()) * amount;
    EXPECT_TRUE(fixture_.TickUntil([&] { return Points(eosId) == expected; })) << Points(eosId);
  }
};

TEST_F(PassiveReward, TheLargestGroupAmountOrTheSumAndZeroWithoutGroup) {
  Start();
  JoinAndSettle("AliceEos", 1, {"VIP", "Gold"});
  JoinAndSettle("BobEos", 2);
  Server().RunSeconds(1830);
  ExpectRewards("AliceEos", 10);
  ExpectRewards("BobEos", 0);
  EXPECT_EQ(Server().MessagesOf("AliceEos")[0].Sender, "Test Shop");
  const auto updates = Mod().EventsOf("AliceEos", "a_updatepoints");
  ASSERT_FALSE(updates.empty());
  EXPECT_EQ(updates[0], 10);
}

TEST_F(PassiveReward, SummedGroupAmounts) {
  config_["General"]["SumPlayerPassivePointsAmount"] = true;
  Start();
  JoinAndSettle("AliceEos", 1, {"VIP", "Gold"});
  Server().RunSeconds(1830);
  ExpectRewards("AliceEos", 15);
}

TEST_F(PassiveReward, SecondsOnlineCarryOverALogout) {
  Start();
  JoinAndSettle("AliceEos", 1, {"VIP"});
  Server().RunSeconds(1740);  // 29 of 30 minutes
  Server().LeavePlayer("AliceEos");
  const std::string stored =
      "SELECT secondsWithoutReward FROM " + prefix_ + "_player_points WHERE eosId='AliceEos'";
  ASSERT_TRUE(fixture_.TickUntil([&] { return Sql().Number(stored) >= 1740; }));
  EXPECT_LE(Sql().Number(stored), 1750);  // the host's clock is the system clock moved on: real seconds pass too
  EXPECT_TRUE(Texts("AliceEos").empty());

  JoinAndSettle("aliceeos", 1, {"VIP"});  // the same player, another letter case
  Server().RunSeconds(45);
  EXPECT_TRUE(Texts("AliceEos").empty()) << "not a whole interval yet";
  Server().RunSeconds(35);
  EXPECT_TRUE(WaitForTexts("AliceEos", 1));
  EXPECT_EQ(Texts("AliceEos").size(), 1u);
}

// A reward whose credit fails is not told and stays due: the first check after
// the database is back pays it, once; the next one comes an interval later.
TEST_F(PassiveReward, ARewardDuringAnOutageIsPaidAfterItOnce) {
  Start();
  JoinAndSettle("AliceEos", 1, {"Gold"});
  const std::string away = prefix_ + "_player_points_away";
  Sql().Exec("RENAME TABLE " + prefix_ + "_player_points TO " + away);
  Server().RunSeconds(1900);  // due at 1800 s: every check after fails
  EXPECT_TRUE(Texts("AliceEos").empty()) << "told of a credit that did not commit";
  EXPECT_TRUE(Mod().EventsOf("AliceEos", "a_updatepoints").empty());
  EXPECT_TRUE(fixture_.TickUntil([&] {
    return Server().LogContains("[warning] PassiveReward did not happen for eosId AliceEos: 10 points not added");
  }));
  EXPECT_TRUE(Texts("AliceEos").empty());
  Sql().Exec("RENAME TABLE " + away + " TO " + prefix_ + "_player_points");
  Server().RunSeconds(60);
  ExpectRewards("AliceEos", 10);
  EXPECT_EQ(Texts("AliceEos").size(), 1u);
  Server().RunSeconds(1700);  // less than an interval after the payment
  EXPECT_EQ(Texts("AliceEos").size(), 1u) << "one reward per interval";
  EXPECT_EQ(Points("AliceEos"), 10);
  Server().RunSeconds(200);
  EXPECT_TRUE(WaitForTexts("AliceEos", 2));
}

// The player leaves while a failed credit is on its way: the stored seconds count
// from before it, so the reward is still due at the next login.
TEST_F(PassiveReward, AFailedRewardStaysDueOverALogout) {
  Start();
  JoinAndSettle("AliceEos", 1, {"Gold"});
  Server().RunSeconds(1700);
  // Points cannot change; the seconds a logout stores still can.
  const std::string trigger = prefix_ + "_no_points";
  Sql().Exec("CREATE TRIGGER " + trigger + " BEFORE UPDATE ON " + prefix_ +
             "_player_points FOR EACH ROW IF NEW.points <> OLD.points THEN SIGNAL SQLSTATE '45000' SET "
             "MESSAGE_TEXT='points are away'; END IF");
  Server().RunSeconds(130);
  Server().LeavePlayer("AliceEos");
  const std::string stored = "SELECT secondsWithoutReward FROM " + prefix_ + "_player_points WHERE eosId='AliceEos'";
  EXPECT_TRUE(fixture_.TickUntil([&] { return Sql().Number(stored) == 1800; })) << Sql().Number(stored);
  Sql().Exec("DROP TRIGGER " + trigger);
  EXPECT_TRUE(Texts("AliceEos").empty());
  JoinAndSettle("AliceEos", 1, {"Gold"});
  Server().RunSeconds(20);
  ExpectRewards("AliceEos", 10);
  EXPECT_EQ(Texts("AliceEos").size(), 1u);
}

TEST_F(PassiveReward, ALogoutBeforeTheLoginCompletedStoresNothing) {
  fixture_.WriteConfig(config_);
  fixture_.LoadAtStartup();  // the workers wait for the game mode
  Sql().Exec("INSERT INTO " + prefix_ + "_player_points (eosId,secondsWithoutReward,points) VALUES ('AliceEos',777,0)");
  Join("AliceEos", 1);
  Server().LeavePlayer("AliceEos");
  Server().BeginPlay();
  // The login's and the logout's writes run on the two workers in either order;
  // once the login's character row is there, give the logout time to run too.
  ASSERT_TRUE(fixture_.TickUntil(
      [&] { return Sql().Number("SELECT COUNT(*) FROM " + prefix_ + "_player_chars") == 1; }));
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(Sql().Number("SELECT secondsWithoutReward FROM " + prefix_ + "_player_points WHERE eosId='AliceEos'"), 777);
}

TEST_F(PassiveReward, OnJoinRewardsOfAvailablePackets) {
  config_["ShopPackets"][15]["IncludeGroups"] = {"VIP"};  // Member Box
  config_["RewardPackets"] = nlohmann::json::parse(R"([
    {"Name": "Welcome", "FromShopPacket": "Kit 01", "InitAmountIfInViableGroups": 2},
    {"Name": "Members Gift", "FromShopPacket": "Member Box", "InitAmountIfInViableGroups": 1}])");
  Start();
  JoinAndSettle("AliceEos", 1);
  JoinAndSettle("BobEos", 2, {"VIP"});
  const std::string query = "SELECT eosId,packetStr,amount FROM " + prefix_ + "_player_redeems ORDER BY eosId,packetStr";
  ASSERT_TRUE(fixture_.TickUntil([&] { return Sql().Rows(query).size() == 3; }));
  EXPECT_EQ(Sql().Rows(query), (std::vector<std::vector<std::string>>{{"AliceEos", "Welcome,1", "2"},
                                                                     {"BobEos", "Members Gift,1", "1"},
                                                                     {"BobEos", "Welcome,1", "2"}}));
}

TEST(PermissionsPlugin, WhenAbsentEveryGroupCheckIsFalseAndLoggedOnce) {
  const std::string prefix = testsupport::UniquePrefix("noperm");
  nlohmann::json config = testsupport::MinimalConfig(prefix);
  config["General"]["RewardIntervalMinutes"] = 30;
  config["GroupPrivileges"] = nlohmann::json::parse(R"([{"ForGroups": ["VIP"], "PassivePointsAmount": 5}])");
  sim::ServerOptions options;
  options.PermissionsPlugin = false;
  testsupport::ServerFixture fixture(options);
  fixture.WriteConfig(config);
  ASSERT_TRUE(fixture.LoadAndOpenShop());
  fixture.Server().SetGroups("AliceEos", {"VIP", "Gold"});
  sim::PlayerSpec spec = sim::PlayerSpec::Of("AliceEos");
  fixture.Server().JoinPlayer(spec);
  fixture.TickUntil([] { return false; }, std::chrono::milliseconds(300));
  fixture.Server().RunSeconds(3700);
  // Each reward is told once its credit committed on a worker.
  ASSERT_TRUE(fixture.TickUntil([&] { return fixture.Server().MessagesOf("AliceEos").size() >= 2u; }))
      << fixture.Server().MessagesOf("AliceEos").size();
  for (const auto& message : fixture.Server().MessagesOf("AliceEos")) EXPECT_EQ(message.Text, "You received 0 points.");
  EXPECT_EQ(fixture.Server().CountLog("[error] Permissions plugin not found"), 1u);
  EXPECT_TRUE(fixture.Server().HostErrors().empty());
  fixture.Server().UnloadPlugin();
  testsupport::DropTablesWithPrefix(prefix);
}

TEST_F(PassiveReward, AMessageTemplateThatDoesNotFormatFallsBackToTheDefault) {
  config_["Messages"] = {{"GotTimedPoints", "Here are {points} points, {name}!"}};
  Start();
  JoinAndSettle("AliceEos", 1, {"Gold"});
  Server().RunSeconds(1830);
  ExpectRewards("AliceEos", 10);
  EXPECT_TRUE(Server().LogContains("[warning] Message GotTimedPoints does not format"));
}

// What a logout stores stays a meaningful part of one interval: a clock that went
// back, a long absence of ticks or an interval shortened by a reload never store
// more than one interval or less than nothing.
TEST(SecondsAtLogout, StayWithinOneIntervalAndNothingIsStoredBeforeTheLoginCompleted) {
  using PointsHandler::SecondsToStore;
  EXPECT_EQ(SecondsToStore(0, 1'000'000, 1800), -1);
  EXPECT_EQ(SecondsToStore(1'000'000, 1'000'600, 1800), 600);
  EXPECT_EQ(SecondsToStore(1'000'000, 999'000, 1800), 0);
  EXPECT_EQ(SecondsToStore(1'000'000, 1'005'000, 600), 600);
  EXPECT_EQ(SecondsToStore(1, std::numeric_limits<int64_t>::max(), 1800), 1800);
  EXPECT_EQ(SecondsToStore(1'000'000, 1'000'600, -5), 0);
}

}  // namespace
