// After many sessions of players joining and leaving, the online list and the
// paced send queues hold only what the players online need; the request throttles
// keep one entry per player and kind of request of the last half second, and no more.
#include <thread>

#include "AsaApi/Game/TandorShopMod.h"
#include "core/ThreadPool.h"
#include "modcomm/ModMessages.h"
#include "modcomm/SendQueues.h"
#include "points/OnlinePlayers.h"
#include "ModShopFixture.h"

extern "C" void Plugin_Init();
extern "C" void Plugin_Unload();

namespace {

using ModComm::ModMessage;

// The shop of ModShop, with the plugin linked into the test so its state can be read.
class BoundedState : public ModShop {
 protected:
  void StartLinked() {
    fixture_.WriteConfig(config_);
    Server().BeginPlay();
    Plugin_Init();
    loaded_ = true;
    ASSERT_TRUE(fixture_.TickUntil([this] { return fixture_.ShopOpen(); }));
  }
  void TearDown() override {
    if (loaded_) Plugin_Unload();
    ModShop::TearDown();
  }
  static std::string Id(int player) { return "Churn" + std::to_string(player); }
  // Ticks until the worker pool is idle and every send queue is gone, twice in a row.
  bool Settle() {
    int quiet = 0;
    return fixture_.TickUntil([&] {
      const bool idle = TandorShop::Pool().QueuedCount() == 0 && TandorShop::Pool().PendingCount() == 0 &&
                        ModComm::SendQueueSize().Entries == 0;
      quiet = idle ? quiet + 1 : 0;
      return quiet >= 20;
    });
  }
  bool loaded_ = false;
};

// Ten rounds of ten players out of forty: each opens the shop and a category, half
// of them leave with their category list still waiting.
TEST_F(BoundedState, SessionsComeAndGoAndTheThrottlesHoldOnlyTheLastHalfSecond) {
  StartLinked();
  constexpr int kDistinct = 40, kOnline = 10, kRounds = 10;
  std::size_t onlineBytesAtFirstPeak = 0, queueBytesAfterFirstRound = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<sim::SimPlayer*> online;
    std::vector<std::string> ids;
    for (int i = 0; i < kOnline; ++i) {
      const int player = (round * kOnline + i) % kDistinct;
      ids.push_back(Id(player));
      online.push_back(&Join(ids.back(), static_cast<uint64_t>(player + 1), {"VIP"}));
      Mod().Send(*online.back(), TandorShopMod::MsgOpenShop);
    }
    ASSERT_TRUE(fixture_.TickUntil([&] {
      for (const auto& id : ids)
        if (Mod().EventsOf(id, "a_openshop").empty()) return false;
      return true;
    }));
    EXPECT_EQ(PointsHandler::OnlineListSize().Entries, static_cast<std::size_t>(kOnline));
    if (round == 0) onlineBytesAtFirstPeak = PointsHandler::OnlineListSize().Bytes;
    for (sim::SimPlayer* player : online) Mod().Send(*player, TandorShopMod::MsgCategory, 0);
    EXPECT_EQ(ModComm::SendQueueSize().Entries, static_cast<std::size_t>(kOnline));
    EXPECT_EQ(ModComm::WaitingBatchCount(), static_cast<std::size_t>(2 * kOnline));
    for (int i = 0; i < kOnline; i += 2) Server().LeavePlayer(ids[i]);
    ASSERT_TRUE(Settle()) << "round " << round;
    EXPECT_EQ(PointsHandler::OnlineListSize().Entries, static_cast<std::size_t>(kOnline / 2));
    for (int i = 0; i < kOnline; ++i)
      EXPECT_EQ(Mod().EventsOf(ids[i], "a_cat").size(), i % 2 == 0 ? 0u : 2u) << ids[i];
    for (int i = 1; i < kOnline; i += 2) Server().LeavePlayer(ids[i]);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(PointsHandler::OnlineListSize().Entries, 0u) << "round " << round;
    EXPECT_EQ(PointsHandler::PendingListSize().Entries, 0u);
    EXPECT_EQ(ModComm::SendQueueSize().Entries, 0u);
    if (round == 0) queueBytesAfterFirstRound = ModComm::SendQueueSize().Bytes;
    Mod().ClearEvents();
    Server().AdvanceClock(1);
  }
  // The buffers keep what the peak needed, not what a hundred sessions passed through.
  EXPECT_LE(PointsHandler::OnlineListSize().Bytes, onlineBytesAtFirstPeak);
  EXPECT_LE(ModComm::SendQueueSize().Bytes, queueBytesAfterFirstRound);
  // The throttles hold the players of the last round only: every earlier entry was
  // older than the gap when the next round's first request came.
  EXPECT_EQ(ModComm::ThrottleSize(ModMessage::OpenShop).Entries, static_cast<std::size_t>(kOnline));
  EXPECT_EQ(ModComm::ThrottleSize(ModMessage::Category).Entries, static_cast<std::size_t>(kOnline));
  EXPECT_EQ(ModComm::ThrottleSize().Entries, static_cast<std::size_t>(2 * kOnline));
}

// Each kind of request has its own list; a refused request and a returning player add nothing.
TEST_F(BoundedState, ThrottlesGrowByOneEntryPerDistinctPlayerAndKind) {
  StartLinked();
  auto& alice = Join("AliceEos", 7);
  for (const char* message : {TandorShopMod::MsgShopLog, TandorShopMod::MsgTradeLog, TandorShopMod::MsgBuy})
    Mod().Send(alice, message, 0, 0, "Kit 01,1;;;");
  Mod().Send(alice, TandorShopMod::MsgShopLog);  // refused: too soon
  EXPECT_EQ(ModComm::ThrottleSize().Entries, 3u);
  Server().LeavePlayer("AliceEos");
  Server().AdvanceClock(1);
  auto& again = Join("AliceEos", 7);
  Mod().Send(again, TandorShopMod::MsgShopLog);
  auto& bob = Join("BobEos", 8);
  Mod().Send(bob, TandorShopMod::MsgShopLog);
  EXPECT_EQ(ModComm::ThrottleSize(ModMessage::ShopLog).Entries, 2u);
  EXPECT_EQ(ModComm::ThrottleSize(ModMessage::TradeLog).Entries, 1u);
  EXPECT_EQ(ModComm::ThrottleSize(ModMessage::Buy).Entries, 1u);
  EXPECT_EQ(ModComm::ThrottleSize(ModMessage::OpenShop).Entries, 0u);
  EXPECT_GE(ModComm::ThrottleSize().Bytes, 4 * (sizeof(uint64_t) + sizeof(int64_t)));
  ASSERT_TRUE(Settle());
}

}  // namespace
