// What the mod is shown is what is charged, and a held reward keeps its packet
// across a reload.
#include "ShopOpsFixture.h"

namespace shopops {
namespace {

class ShownDiscount : public ShopOps, public ::testing::WithParamInterface<int> {};

// The group's discount in percent: -50 and 150 lie outside what a purchase charges.
TEST_P(ShownDiscount, IsTheOneThePurchaseCharges) {
  config_["GroupPrivileges"][0]["ShopDiscount"] = GetParam();
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000, {"Gold"});
  const std::string stone = std::to_string(VariantId(ann, "Stone Kit"));
  double shown = -1;
  const auto categories = Mod().EventsOf("AnnEos", "a_cat");
  for (const auto& view : categories[0])
    if (view["PacketName"] == "Stone Kit") shown = view["Discount"];
  ASSERT_GE(shown, 0.0);
  ASSERT_LE(shown, 1.0);

  ASSERT_TRUE(Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;"));
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_updatepoints", 1));
  const int charged = -Mod().EventsOf("AnnEos", "a_updatepoints")[0].get<int>();
  EXPECT_EQ(charged, static_cast<int>(50 * (1.0 - shown) + 0.5)) << "shown " << shown;
}

INSTANTIATE_TEST_SUITE_P(Discounts, ShownDiscount, ::testing::Values(-50, 25, 150));

// The database holds the row while the configuration is read again with a new
// reward packet in front, so the held reward's id changes under the request.
TEST_F(ShopOps, AHeldRewardRedeemedAcrossAReloadThatRenumbersRewardsDeliversTheHeldPacket) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  Hold("AnnEos", "Welcome Gift,1", 1, true);
  auto lock = Sql();
  lock.Exec("START TRANSACTION");
  lock.Rows("SELECT amount FROM " + prefix_ + "_player_redeems WHERE eosId='AnnEos' FOR UPDATE");
  Mod().Send(ann, TandorShopMod::MsgRedeem, 0, 1, "Stone Kit");
  Settle(800);

  config_["RewardPackets"].insert(config_["RewardPackets"].begin(),
                                  nlohmann::json{{"Name", "Wood Bonus"}, {"FromShopPacket", "Wood Kit"}});
  fixture_.WriteConfig(config_);
  ASSERT_EQ(fixture_.Rcon("TandorShop.reload"), "TandorShop config reloaded.\n");
  lock.Exec("COMMIT");

  ASSERT_TRUE(fixture_.TickUntil([&] { return ItemsOf(ann, stone_) == 5; }));
  Settle();
  EXPECT_EQ(ItemsOf(ann, wood_), 0);
  EXPECT_EQ(Held("AnnEos", "Welcome Gift,1"), 0);
  ASSERT_EQ(Mod().EventsOf("AnnEos", "a_update_redeem").size(), 1u);
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_update_redeem")[0]["RewardId"], 1) << "the reward's id after the reload";
}

}  // namespace
}  // namespace shopops
