// Buying packets through the mod: the worked example, what a purchase charges,
// and refusals that end silently.
#include "ShopOpsFixture.h"

namespace shopops {
namespace {

using nlohmann::json;

TEST_F(ShopOps, DiscountedPurchaseOfTwoUnitsChargesOneHundredEighty) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000, {"Gold"});
  const int32_t wood = VariantId(ann, "Wood Kit");
  ASSERT_TRUE(Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Wood Kit,2;" + std::to_string(wood) + ";;"));
  // A passive reward of 0 points (the group pays none) may be told first.
  const auto changes = [&] {
    std::vector<int64_t> nonZero;
    for (const auto& change : Mod().EventsOf("AnnEos", "a_updatepoints"))
      if (change != 0) nonZero.push_back(change.get<int64_t>());
    return nonZero;
  };
  ASSERT_TRUE(fixture_.TickUntil([&] { return !changes().empty(); }));
  EXPECT_EQ(changes(), std::vector<int64_t>{-180});
  EXPECT_EQ(ItemsOf(ann, wood_), 20);
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 820; }));
  // The description is data: braces, percent, quotes and umlaut arrive as written.
  std::vector<std::string> chat = Chat("AnnEos");
  std::erase(chat, "You received 0 points.");  // the same zero passive reward, told in the chat too
  EXPECT_EQ(chat, std::vector<std::string>{"You bought Wood {x} 100% \"q\" \u00fcml for 180 points."});
  // The task writes the log row after the points.
  const std::string logRow = "SELECT CONCAT(packet,'|',amount,'|',points_change,'|',newpoints,'|',isBuy) FROM " +
                             prefix_ + "_shoplog";
  fixture_.TickUntil([&] { return Sql().Scalar(logRow) != "<none>"; });
  EXPECT_EQ(Sql().Scalar(logRow), "Wood Kit,1;Wood;;|2|-180|820|1");
  ASSERT_TRUE(Server().Discord().WaitFor(1));
  const auto hook = Server().Discord().Received()[0];
  EXPECT_EQ(hook.Path, "/webhooks/Buy");
  EXPECT_NE(hook.Body.find("180"), std::string::npos) << hook.Body;
  EXPECT_TRUE(Mod().Errors().empty());
}

// Reverses "100 points buy 3 x 50": the check covers every unit charged.
TEST_F(ShopOps, PointsMustCoverEveryUnitAndAmountsAreBounded) {
  config_["ShopPackets"][1]["MaxPurchaseSameTime"] = 3;
  Start();
  auto& bob = JoinWith("BobEos", 12, 100);
  const std::string stone = std::to_string(VariantId(bob, "Stone Kit"));
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,3;" + stone + ";;");
  Settle();
  EXPECT_EQ(ItemsOf(bob, stone_), 0);
  EXPECT_EQ(Points("BobEos"), 100);

  PastThrottle();
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,4;" + stone + ";;");  // above MaxPurchaseSameTime
  Settle();
  EXPECT_EQ(ItemsOf(bob, stone_), 0);

  PastThrottle();
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,2;" + stone + ";;");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("BobEos") == 0; }));
  EXPECT_TRUE(fixture_.TickUntil([&] { return ItemsOf(bob, stone_) == 10; })) << "delivered after the charge";
  EXPECT_EQ(Count("shoplog"), 1);
}

TEST_F(ShopOps, DefaultAmountLimitIsOneThousand) {
  Start();
  auto& bob = JoinWith("BobEos", 12, 1000000);
  const std::string stone = std::to_string(VariantId(bob, "Stone Kit"));
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1001;" + stone + ";;");
  Settle();
  EXPECT_EQ(ItemsOf(bob, stone_), 0);
  PastThrottle();
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1000;" + stone + ";;");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("BobEos") == 950000; }));
  EXPECT_TRUE(fixture_.TickUntil([&] { return ItemsOf(bob, stone_) == 5000; })) << "delivered after the charge";
}

TEST_F(ShopOps, NothingDeliveredMeansNoChargeNoCooldownNoLogNoMessage) {
  config_["ShopPackets"][3]["ServerCooldownHours"] = 1;
  config_["ShopPackets"][3]["PlayerCooldownHours"] = 1;
  Start();
  auto& bob = JoinWith("BobEos", 12, 100);
  const std::string ghost = std::to_string(VariantId(bob, "Nothing Kit"));
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Nothing Kit,1;" + ghost + ";;");
  Settle();
  EXPECT_EQ(Points("BobEos"), 100);
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_EQ(Count("player_cooldowns"), 0);
  EXPECT_TRUE(Chat("BobEos").empty());
  EXPECT_TRUE(Mod().EventsOf("BobEos", "a_updatepoints").empty());
  std::ifstream cooldowns(fixture_.Dir() + "/ArkApi/Plugins/TandorShop/packetCds.txt");
  std::string line;
  EXPECT_FALSE(std::getline(cooldowns, line) && !line.empty()) << line;
}

TEST_F(ShopOps, HiddenDeadAndDepartedBuyersAreRefusedSilently) {
  Start();
  auto& bob = JoinWith("BobEos", 12, 1000);
  auto& cid = JoinWith("CidEos", 13, 1000);
  const std::string stone = std::to_string(VariantId(bob, "Stone Kit"));
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Hidden Kit,1;" + stone + ";;");
  Settle();
  EXPECT_EQ(ItemsOf(bob, stone_), 0);

  PastThrottle();
  Server().Model().Characters.SetDeadOrDying(bob.Character.get(), true);
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;");
  Settle();
  EXPECT_EQ(ItemsOf(bob, stone_), 0);

  // Cid leaves before the points are read back.
  Mod().Send(cid, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;");
  Server().LeavePlayer("CidEos");
  Settle();
  EXPECT_EQ(Points("BobEos"), 1000);
  EXPECT_EQ(Points("CidEos"), 1000);
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_TRUE(Chat("BobEos").empty());
  EXPECT_TRUE(Server().HostErrors().empty());
}

}  // namespace
}  // namespace shopops
