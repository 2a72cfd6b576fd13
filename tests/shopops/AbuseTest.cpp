// What players try against a shop. Each case ends with no point created or lost
// and nothing delivered that was not paid for or held.
#include <climits>

#include "ShopOpsFixture.h"

namespace shopops {
namespace {

// Sends a request of the same kind again past the per-kind throttle, without
// letting the game loop run in between.
void SendRepeatedly(ShopOps& test, sim::ClientMod& mod, sim::SimPlayer& player, const std::string& message,
                    int32_t int1, int32_t int2, const std::string& text, int times, sim::Server& server) {
  for (int i = 0; i < times; ++i) {
    mod.Send(player, message, int1, int2, text);
    server.AdvanceClock(1);
  }
  (void)test;
}

TEST_F(ShopOps, SameBuyManyTimesWithinASecondIsChargedAndDeliveredOnce) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 100);
  const std::string buy = "Stone Kit,2;" + std::to_string(VariantId(ann, "Stone Kit")) + ";;";
  for (int i = 0; i < 20; ++i) Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, buy);  // throttled
  SendRepeatedly(*this, Mod(), ann, TandorShopMod::MsgBuy, 0, 0, buy, 10, Server());  // one in flight
  Settle(1500);
  EXPECT_EQ(ItemsOf(ann, stone_), 10);
  EXPECT_EQ(Points("AnnEos"), 0);
  EXPECT_EQ(Count("shoplog"), 1);
}

TEST_F(ShopOps, BuyAndTradeOfTheWholeBalanceAtOnceDoOnlyOne) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 100);
  JoinWith("BobEos", 12, 0);
  const std::string buy = "Stone Kit,2;" + std::to_string(VariantId(ann, "Stone Kit")) + ";;";
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, buy);
  Mod().Send(ann, TandorShopMod::MsgTrade, 100, 0, "BobEos Bob");
  Settle(1500);
  // The buy came first; the trade met the buy in flight and was dropped.
  EXPECT_EQ(ItemsOf(ann, stone_), 10);
  EXPECT_EQ(Points("AnnEos"), 0);
  EXPECT_EQ(Points("BobEos"), 0);
  // Once the buy is written, the trade finds too few points.
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgTrade, 100, 0, "BobEos Bob");
  Settle();
  EXPECT_EQ(Points("AnnEos") + Points("BobEos"), 0);
  EXPECT_EQ(Count("tradelog"), 0);
}

TEST_F(ShopOps, TwoRedeemsOfOneHeldUnitDeliverOnce) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  Hold("AnnEos", "Stone Kit,1;Stone;;", 1);
  SendRepeatedly(*this, Mod(), ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,1;Stone;;", 2, Server());
  Settle(1500);
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,1;Stone;;");  // after the first finished
  Settle();
  EXPECT_EQ(ItemsOf(ann, stone_), 5);
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_update_redeem").size(), 1u);
  EXPECT_EQ(Held("AnnEos", "Stone Kit,1;Stone;;"), 0);
}

TEST_F(ShopOps, NegativeZeroAndHugeAmountsInEveryMessage) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  JoinWith("BobEos", 12, 0);
  Give(ann, stone_, 47);
  Hold("AnnEos", "Stone Kit,1;Stone;;", 2);
  const std::string id = std::to_string(VariantId(ann, "Stone Kit"));
  for (const std::string& amount : std::vector<std::string>{"-2", "0", "-0", "2147483647", "2147483648", "99999999999999999999", "-2147483648"}) {
    Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit," + amount + ";" + id + ";;");
    if (amount != "2147483647") Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit," + amount + ";Stone;;");
    PastThrottle();
    Settle(300);
  }
  for (const int32_t amount : {-1, 0, INT_MIN}) {
    Mod().Send(ann, TandorShopMod::MsgSell, amount, 0, "Stone");
    Mod().Send(ann, TandorShopMod::MsgTrade, amount, 0, "BobEos Bob");
    PastThrottle();
  }
  Mod().Send(ann, TandorShopMod::MsgTrade, INT_MAX, 0, "BobEos Bob");
  Settle();
  EXPECT_EQ(ItemsOf(ann, stone_), 47);
  EXPECT_EQ(Points("AnnEos"), 1000);
  EXPECT_EQ(Points("BobEos"), 0);
  EXPECT_EQ(Held("AnnEos", "Stone Kit,1;Stone;;"), 2);
  // A huge redeem hands out what is held; a huge sale is held to MaxSellAtOnce.
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,2147483647;Stone;;");
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_update_redeem", 1));
  EXPECT_EQ(ItemsOf(ann, stone_), 57);
  Mod().Send(ann, TandorShopMod::MsgSell, INT_MAX, 0, "Stone");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 1015; }));
  EXPECT_EQ(ItemsOf(ann, stone_), 27);
}

TEST_F(ShopOps, ForeignVariantsUnknownIdsAndHiddenPacketsBuyNothing) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  const std::string wood = std::to_string(VariantId(ann, "Wood Kit"));
  const std::string stone = std::to_string(VariantId(ann, "Stone Kit"));
  for (const std::string& text : std::vector<std::string>{"Stone Kit,1;" + wood + ";;", "Stone Kit,1;99999;;", "No Such Kit,1;" + stone + ";;",
                                 "Hidden Kit,1;" + stone + ";;", "Hidden Kit", ";;;", "", ",,,;" + stone,
                                 "Stone Kit,1;" + stone + "," + stone + ";;"}) {
    Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, text);
    Settle(300);
    PastThrottle();
  }
  Settle();
  EXPECT_EQ(ItemsOf(ann, stone_) + ItemsOf(ann, wood_), 0);
  EXPECT_EQ(Points("AnnEos"), 1000);
  EXPECT_EQ(Count("shoplog"), 0);
}

TEST_F(ShopOps, TradeToUnknownOrMalformedRecipientMovesNothing) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 100);
  for (const std::string& target : std::vector<std::string>{"NobodyEos Nobody", "BobEos", " BobEos", ""}) {
    Mod().Send(ann, TandorShopMod::MsgTrade, 50, 0, target);
    Settle(300);
    PastThrottle();
  }
  EXPECT_EQ(Points("AnnEos"), 100);
  EXPECT_EQ(Count("tradelog"), 0);
  EXPECT_EQ(Points("NobodyEos"), -1) << "no row is created for an unknown recipient";
  EXPECT_TRUE(Chat("AnnEos").empty());
}

TEST_F(ShopOps, BrokenMessageTemplatesFallBackToTheirDefaults) {
  config_["Messages"] = {{"BoughtItem", "Bought {name for {price}"}, {"SendPoints", "{0} {amount:%}"}};
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  JoinWith("BobEos", 12, 0);
  const std::string stone = std::to_string(VariantId(ann, "Stone Kit"));
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Chat("AnnEos").size() == 1; }));
  PastThrottle();
  Settle();
  Mod().Send(ann, TandorShopMod::MsgTrade, 10, 0, "BobEos {Bob}");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Chat("AnnEos").size() == 2; }));
  EXPECT_EQ(Chat("AnnEos")[0], "You bought Stone for 50 points.");
  EXPECT_EQ(Chat("AnnEos")[1], "You send 10 points to {Bob}.");
}

}  // namespace
}  // namespace shopops
