// Selling items and sending points to other players through the mod.
#include "ShopOpsFixture.h"

namespace shopops {
namespace {

TEST_F(ShopOps, SaleOfFiveUnitsFromFortySevenStonesTakesThirtyForFifteenPoints) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  Give(ann, stone_, 47);
  auto* blueprint = Server().Model().Items.NewItem(stone_, ann.Character->Inventory, 1);
  blueprint->ItemFlags |= sim::ItemFlag::IsBlueprint;  // never sold
  Mod().Send(ann, TandorShopMod::MsgSellList);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_init_sell", 1));
  const auto list = Mod().EventsOf("AnnEos", "a_init_sell")[0];
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]["ItemClass"], StonePath);

  Mod().Send(ann, TandorShopMod::MsgSell, 5, 0, "stone");
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_updatepoints", 1));
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_updatepoints")[0], 15);
  EXPECT_EQ(ItemsOf(ann, stone_), 18) << "17 stones and the blueprint stay";
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 15; }));
  EXPECT_EQ(Sql().Scalar("SELECT CONCAT(amount,'|',points_change,'|',isSell) FROM " + prefix_ + "_shoplog"), "3|15|1");
  EXPECT_TRUE(Chat("AnnEos").empty()) << "a sale sends no chat message";
  ASSERT_TRUE(Server().Discord().WaitFor(1));
  EXPECT_EQ(Server().Discord().Received()[0].Path, "/webhooks/Sell");
}

TEST_F(ShopOps, SaleWithTooFewItemsOrUnknownNameDoesNothing) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  Give(ann, stone_, 9);
  Mod().Send(ann, TandorShopMod::MsgSell, 1, 0, "Stone");
  Mod().Send(ann, TandorShopMod::MsgSellList);
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgSell, 1, 0, "Gravel");
  Settle();
  EXPECT_EQ(ItemsOf(ann, stone_), 9);
  EXPECT_EQ(Points("AnnEos"), 0);
  EXPECT_EQ(Count("shoplog"), 0);
}

TEST_F(ShopOps, AnnOfTheRaidersSendsFortyPointsToBob) {
  Start();
  Server().SetGroups("AnnEos", {});
  sim::PlayerSpec spec = sim::PlayerSpec::Of("AnnEos", "Ann");
  spec.LinkedPlayerId = 11;
  spec.TribeId = 77;
  spec.TribeName = "Raiders";
  auto& ann = Server().JoinPlayer(spec);
  auto& bob = JoinWith("BobEos", 12, 5);
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") >= 0; }));
  Sql().Exec("UPDATE " + prefix_ + "_player_points SET points=100 WHERE eosId='AnnEos'");

  Mod().Send(ann, TandorShopMod::MsgTrade, 40, 0, "BobEos Bob {name} 5% \"b\" \u00e9");
  ASSERT_TRUE(WaitForEvents("BobEos", "a_updatepoints", 1));
  EXPECT_EQ(Mod().EventsOf("BobEos", "a_updatepoints")[0], 40);
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_updatepoints")[0], -40);
  EXPECT_EQ(Points("AnnEos"), 60);
  EXPECT_EQ(Points("BobEos"), 45);
  EXPECT_EQ(Sql().Scalar("SELECT CONCAT(from_name,'|',to_name,'|',amount) FROM " + prefix_ + "_tradelog"),
            "Ann(Raiders)|Bob {name} 5% \"b\" \u00e9|40");
  EXPECT_EQ(Chat("AnnEos"), std::vector<std::string>{"You send 40 points to Bob {name} 5% \"b\" \u00e9."});
  EXPECT_EQ(Chat("BobEos"), std::vector<std::string>{"You received 40 points from Ann."});
  ASSERT_TRUE(Server().Discord().WaitFor(1));
  EXPECT_EQ(Server().Discord().Received()[0].Path, "/webhooks/Trade");
  (void)bob;
}

TEST_F(ShopOps, ThirtyTradeTargetsArriveAsTwentyFiveAndFive) {
  config_["General"]["GroupsHiddenFromTrade"] = {"Admins"};
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  auto sql = Sql();
  for (int i = 0; i < 31; ++i)
    sql.Exec("INSERT INTO " + prefix_ + "_player_chars (eosId,charName,tribeName,lastLogin,lastLogout) VALUES ('T" +
             std::to_string(100 + i) + "','C" + std::to_string(i) + "','',UNIX_TIMESTAMP(),0)");
  Server().SetGroups("T130", {"Admins"});  // hidden from the list
  Mod().Send(ann, TandorShopMod::MsgTradeTargets);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_init_trade", 2));
  const auto events = Mod().EventsOf("AnnEos", "a_init_trade");
  EXPECT_EQ(events[0].size(), 25u);
  EXPECT_EQ(events[1].size(), 5u);
  for (const auto& event : events)
    for (const auto& target : event) {
      EXPECT_NE(target["EosId"], "AnnEos");
      EXPECT_NE(target["EosId"], "T130");
    }
  // The hidden player can still be named directly.
  Sql().Exec("INSERT INTO " + prefix_ + "_player_points (eosId,points) VALUES ('T130',0)");
  Sql().Exec("UPDATE " + prefix_ + "_player_points SET points=10 WHERE eosId='AnnEos'");
  Mod().Send(ann, TandorShopMod::MsgTrade, 10, 0, "T130 Hidden One");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("T130") == 10; }));
}

}  // namespace
}  // namespace shopops
