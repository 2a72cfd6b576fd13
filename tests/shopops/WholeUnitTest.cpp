// A unit of which only part would fit: the player's stone stack has room for 99
// of the 100 stone of a unit and no slot is free. No stone is kept, a purchase
// is refunded whole and a redeem keeps the held unit, however often it is tried;
// with a slot free, the same unit arrives.
#include "ShopOpsFixture.h"

namespace shopops {
namespace {

class WholeUnit : public ShopOps {
 protected:
  void SetUp() override {
    ShopOps::SetUp();
    config_["ShopPackets"].push_back(Packet("Stone Hundred", 40, {{"Description", "Hundred"}},
                                            {{{"Name", "Stone"}, {"Blueprint", StonePath}, {"Amount", 100},
                                              {"PriceIncrease", 0}}}));
  }

  // One stone stack 99 short of full (the class stacks 1000) and no free slot.
  void RoomFor99(sim::SimPlayer& player) {
    Give(player, stone_, 901);
    player.Character->Inventory->MaxSlots = player.Character->Inventory->InventoryItems.Num();
  }
  void FreeOneSlot(sim::SimPlayer& player) { player.Character->Inventory->MaxSlots += 1; }
};

TEST_F(WholeUnit, APurchaseThatWouldOnlyPartlyFitKeepsNoStoneAndIsRefundedWhole) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  const std::string buy = "Stone Hundred,1;" + std::to_string(VariantId(ann, "Stone Hundred")) + ";;";
  RoomFor99(ann);
  for (int attempt = 0; attempt < 2; ++attempt) {
    PastThrottle();
    Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, buy);
    Settle(1500);
    EXPECT_EQ(ItemsOf(ann, stone_), 901) << "attempt " << attempt;
    EXPECT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 1000; })) << Points("AnnEos");
  }
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_updatepoints").empty());
  EXPECT_EQ(Server().Discord().Received().size(), 0u);

  FreeOneSlot(ann);
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, buy);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_updatepoints", 1));
  EXPECT_EQ(ItemsOf(ann, stone_), 1001);
  EXPECT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 960; })) << Points("AnnEos");
}

TEST_F(WholeUnit, ARedeemThatWouldOnlyPartlyFitKeepsNoStoneAndKeepsTheHeldUnit) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  const std::string key = "Stone Hundred,1;Stone;;";
  Hold("AnnEos", key, 1);
  RoomFor99(ann);
  for (int attempt = 0; attempt < 2; ++attempt) {
    PastThrottle();
    Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, key);
    Settle(1500);
    EXPECT_EQ(ItemsOf(ann, stone_), 901) << "attempt " << attempt;
    EXPECT_TRUE(fixture_.TickUntil([&] { return Held("AnnEos", key) == 1; })) << Held("AnnEos", key);
  }
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_update_redeem").empty());
  EXPECT_EQ(Server().Discord().Received().size(), 0u);

  FreeOneSlot(ann);
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, key);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_update_redeem", 1));
  EXPECT_EQ(ItemsOf(ann, stone_), 1001);
  EXPECT_TRUE(fixture_.TickUntil([&] { return Held("AnnEos", key) == 0; }));
}

}  // namespace
}  // namespace shopops
