// A packet's player cooldown is checked in the same transaction that charges the
// purchase or takes the held units: a refusal costs nothing and tells nobody, and
// the packet is free again once the cooldown has run.
#include "ShopOpsFixture.h"

namespace shopops {
namespace {

class PlayerCooldown : public ShopOps {
 protected:
  // The player's cooldown of the packet as if it had started `secondsAgo` ago.
  void StartedAgo(const std::string& eosId, const std::string& packet, int secondsAgo) {
    Sql().Exec("UPDATE " + prefix_ + "_player_cooldowns SET lastUse=UNIX_TIMESTAMP()-" + std::to_string(secondsAgo) +
               " WHERE eosId='" + eosId + "' AND packetName='" + packet + "'");
  }
};

TEST_F(PlayerCooldown, APurchaseOnCooldownIsRefusedInTheChargeAndGoesThroughOnceItHasRun) {
  config_["ShopPackets"][1]["PlayerCooldownHours"] = 1;
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  const std::string buy = "Stone Kit,1;" + std::to_string(VariantId(ann, "Stone Kit")) + ";;";
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, buy);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_updatepoints", 1));
  EXPECT_EQ(Count("player_cooldowns", "packetName='Stone Kit'"), 1);

  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, buy);
  Settle();
  EXPECT_EQ(Points("AnnEos"), 950) << "a refused purchase was charged";
  EXPECT_EQ(ItemsOf(ann, stone_), 5);
  EXPECT_EQ(Count("shoplog"), 1);
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_updatepoints").size(), 1u);

  // The player is free again, and an hour later so is the packet.
  StartedAgo("AnnEos", "Stone Kit", 3601);
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, buy);
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_updatepoints", 2));
  EXPECT_EQ(Points("AnnEos"), 900);
  EXPECT_EQ(ItemsOf(ann, stone_), 10);
}

TEST_F(PlayerCooldown, ARedeemOnCooldownKeepsTheHeldUnitsAndHoldsNoServerCooldown) {
  config_["ShopPackets"][1]["PlayerCooldownHours"] = 1;
  config_["ShopPackets"][1]["ServerCooldownHours"] = 1;
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  auto& bob = JoinWith("BobEos", 12, 0);
  Hold("AnnEos", "Stone Kit,1;Stone;;", 3);
  Hold("BobEos", "Stone Kit,1;Stone;;", 1);
  Sql().Exec("INSERT INTO " + prefix_ +
             "_player_cooldowns (eosId,packetName,lastUse) VALUES ('AnnEos','Stone Kit',UNIX_TIMESTAMP()-60)");
  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,1;Stone;;");
  Settle();
  EXPECT_EQ(Held("AnnEos", "Stone Kit,1;Stone;;"), 3);
  EXPECT_EQ(ItemsOf(ann, stone_), 0);
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_update_redeem").empty());

  // Ann's refused redeem gave its server cooldown back: Bob may redeem.
  Mod().Send(bob, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,1;Stone;;");
  ASSERT_TRUE(WaitForEvents("BobEos", "a_update_redeem", 1));
  EXPECT_EQ(ItemsOf(bob, stone_), 5);
}

}  // namespace
}  // namespace shopops
