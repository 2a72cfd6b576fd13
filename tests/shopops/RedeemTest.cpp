// Redeeming held packets: what the database hands out is what arrives, and units
// that cannot arrive go back to the held row.
#include "ShopOpsFixture.h"

namespace shopops {
namespace {

TEST_F(ShopOps, RedeemOfFiveWhenThreeAreHeldDeliversThreeAndDeletesTheRow) {
  config_["ShopPackets"][1]["ServerCooldownHours"] = 1;
  Start();
  auto& ann = JoinWith("AnnEos", 11, 70);
  Hold("AnnEos", "Stone Kit,1;Stone;;", 3);
  Mod().Send(ann, TandorShopMod::MsgRedeemList);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_init_redeem", 1));
  const auto list = Mod().EventsOf("AnnEos", "a_init_redeem")[0];
  ASSERT_EQ(list.size(), 2u) << "the row and the on-join reward row: " << list.dump();
  EXPECT_EQ(list[0]["Amount"], 3);
  EXPECT_EQ(list[0]["PacketName"], "Stone Kit");
  EXPECT_EQ(list[0]["RewardId"], -1);
  EXPECT_EQ(list[0]["Items"][0]["Variants"].size(), 1u);

  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,5;Stone;;");
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_update_redeem", 1));
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_update_redeem")[0]["RedeemsLeft"], 0);
  EXPECT_EQ(ItemsOf(ann, stone_), 15);
  EXPECT_EQ(Count("player_redeems", "packetStr='Stone Kit,1;Stone;;'"), 0) << "the row is deleted";
  EXPECT_EQ(Points("AnnEos"), 70) << "a redeem neither checks nor changes points";
  EXPECT_EQ(Chat("AnnEos"), std::vector<std::string>{"You redeemed packet: Stone."});
  ASSERT_TRUE(Server().Discord().WaitFor(1));
  EXPECT_EQ(Server().Discord().Received()[0].Path, "/webhooks/Redeem");
  // The cooldown reaches its file on a worker.
  std::string line;
  EXPECT_TRUE(fixture_.TickUntil([&] {
    std::ifstream cooldowns(fixture_.Dir() + "/ArkApi/Plugins/TandorShop/packetCds.txt");
    return std::getline(cooldowns, line) && line.rfind("Stone Kit,", 0) == 0;
  })) << line;
}

TEST_F(ShopOps, RedeemOfWhatIsNotHeldStartsNoServerCooldown) {
  config_["ShopPackets"][1]["ServerCooldownHours"] = 1;
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  auto& bob = JoinWith("BobEos", 12, 0);
  Hold("BobEos", "Stone Kit,1;Stone;;", 1);
  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,1;Stone;;");
  Settle();
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_update_redeem").empty());
  Mod().Send(bob, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,1;Stone;;");
  ASSERT_TRUE(WaitForEvents("BobEos", "a_update_redeem", 1)) << "Ann's request blocked the packet for everybody";
  EXPECT_EQ(ItemsOf(bob, stone_), 5);
}

// The held row is locked while the character dies: the units come back.
TEST_F(ShopOps, UnitsThatCannotArriveGoBackToTheHeldRow) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  auto lock = Sql();
  RedeemTwoOfThreeBehindALock(ann, lock);
  Server().Model().Characters.SetDeadOrDying(ann.Character.get(), true);
  lock.Exec("COMMIT");
  Settle(1200);
  EXPECT_EQ(ItemsOf(ann, stone_), 0);
  EXPECT_TRUE(fixture_.TickUntil([&] { return Held("AnnEos", "Stone Kit,1;Stone;;") == 3; }));
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_update_redeem").empty());
}

TEST_F(ShopOps, RewardRowIsRedeemedByTheRewardsId) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  Hold("AnnEos", "Welcome Gift,1", 1, true);
  Mod().Send(ann, TandorShopMod::MsgRedeemList);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_init_redeem", 1));
  const auto view = Mod().EventsOf("AnnEos", "a_init_redeem")[0][0];
  EXPECT_EQ(view["AllVariants"], 1);
  const int rewardId = view["RewardId"];
  EXPECT_GE(rewardId, 0);
  Mod().Send(ann, TandorShopMod::MsgRedeem, rewardId, 1, "Stone Kit");
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_update_redeem", 1));
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_update_redeem")[0]["RewardId"], rewardId);
  EXPECT_EQ(ItemsOf(ann, stone_), 5);
  EXPECT_EQ(Held("AnnEos", "Welcome Gift,1"), 0);
}

}  // namespace
}  // namespace shopops
