// Long lists go out one batch per player every fifth tick, one kind of list at a time.
#include "ModShopFixture.h"

namespace {

// Ticks one at a time until the player has count events of the kind; the tick number, or -1.
int TickOfEvent(ModShop& test, sim::Server& server, const std::string& eosId, const std::string& event,
                std::size_t count, int limit = 50) {
  for (int tick = 1; tick <= limit; ++tick) {
    server.Tick();
    if (server.Mod().EventsOf(eosId, event).size() >= count) return tick;
  }
  (void)test;
  return -1;
}

TEST_F(ModShop, FifteenPacketsGoOutAsTenAndFiveFiveTicksApart) {
  Start();
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgCategory, 0);
  const int first = TickOfEvent(*this, Server(), "AliceEos", "a_cat", 1);
  const int second = TickOfEvent(*this, Server(), "AliceEos", "a_cat", 2);
  ASSERT_GT(first, 0);
  EXPECT_LE(first, 5);
  EXPECT_EQ(second, 5);
  const auto batches = Mod().EventsOf("AliceEos", "a_cat");
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(batches[0].size(), 10u);
  EXPECT_EQ(batches[1].size(), 5u);
  EXPECT_EQ(batches[0][0]["PacketName"], "Kit 01");
  EXPECT_EQ(batches[1][4]["PacketName"], "Kit 15");
  EXPECT_EQ(batches[1][4]["Price"], 150);
  Server().Ticks(20);
  EXPECT_EQ(Mod().EventsOf("AliceEos", "a_cat").size(), 2u);
}

TEST_F(ModShop, TenPacketsAreOneCall) {
  auto& packets = config_["ShopPackets"];
  packets.erase(packets.begin() + 10, packets.begin() + 15);  // Kit 11 to Kit 15
  Start();
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgCategory, 0);
  Server().Ticks(30);
  const auto batches = Mod().EventsOf("AliceEos", "a_cat");
  ASSERT_EQ(batches.size(), 1u);
  EXPECT_EQ(batches[0].size(), 10u);
}

TEST_F(ModShop, ANewListOfTheSameKindReplacesTheWaitingOne) {
  Start();
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgCategory, 0);
  Server().AdvanceClock(1);
  Mod().Send(alice, TandorShopMod::MsgCategory, 0);
  Server().Ticks(40);
  EXPECT_EQ(Mod().EventsOf("AliceEos", "a_cat").size(), 2u) << "one list of two batches, not two lists";
}

TEST_F(ModShop, LogsWaitWhileAnyCategoryListIsPending) {
  auto sqlSetUp = [this] {
    auto sql = Sql();
    for (int i = 0; i < 3; ++i)
      sql.Exec("INSERT INTO " + prefix_ + "_shoplog (eosId,packet,descr,timestamp) VALUES ('AliceEos','Kit','d'," +
               std::to_string(i) + ")");
  };
  Start();
  sqlSetUp();
  auto& alice = Join("AliceEos", 11);
  auto& bob = Join("BobEos", 12);
  Mod().Send(alice, TandorShopMod::MsgShopLog);
  Mod().Send(bob, TandorShopMod::MsgCategory, 0);
  ASSERT_TRUE(WaitForEvents("AliceEos", "a_init_log_buy", 1));
  EXPECT_EQ(Mod().EventsOf("BobEos", "a_cat").size(), 2u) << "the log went out only after both category batches";
}

TEST_F(ModShop, APlayerWhoLeavesLosesTheRestOfTheList) {
  Start();
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgCategory, 0);
  ASSERT_GT(TickOfEvent(*this, Server(), "AliceEos", "a_cat", 1), 0);
  Server().LeavePlayer("AliceEos");
  Server().Ticks(20);
  EXPECT_EQ(Mod().EventsOf("AliceEos", "a_cat").size(), 1u);
  EXPECT_TRUE(Server().HostErrors().empty());
  EXPECT_TRUE(Mod().Errors().empty());
}

}  // namespace

namespace {

TEST_F(ModShop, AReloadWhileBatchesWaitLeavesThemIntact) {
  Start();
  auto& alice = Join("AliceEos", 11);
  Mod().Send(alice, TandorShopMod::MsgCategory, 0);
  config_["ShopPackets"] = nlohmann::json::array();  // the reload empties the catalogue
  fixture_.WriteConfig(config_);
  ASSERT_TRUE(Server().Console("", "TandorShop.reload"));
  Server().Ticks(20);
  const auto batches = Mod().EventsOf("AliceEos", "a_cat");
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(batches[1][4]["PacketName"], "Kit 15");
  EXPECT_TRUE(Mod().Errors().empty());
  EXPECT_TRUE(Server().HostErrors().empty());
}

}  // namespace
