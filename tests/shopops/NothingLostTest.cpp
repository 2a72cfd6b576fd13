// What a purchase, a sale and a redeem do when a step fails: the database write,
// a delivery, a full inventory, a player who leaves. Nothing is given away, nothing
// is lost, and nobody is told what did not happen.
#include <algorithm>

#include "ShopOpsFixture.h"

namespace shopops {
namespace {

class NothingLost : public ShopOps {
 protected:
  // A write of the shop fails while the log table is away (every shop write ends with its log row).
  void TakeShopLogAway() { Sql().Exec("RENAME TABLE " + prefix_ + "_shoplog TO " + prefix_ + "_shoplog_away"); }
  void BringShopLogBack() { Sql().Exec("RENAME TABLE " + prefix_ + "_shoplog_away TO " + prefix_ + "_shoplog"); }

  bool Logged(const std::string& text) {
    const auto lines = Server().LogLines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  }
  // What the player was told, less the passive reward (a join may pay one at once).
  std::vector<std::string> ShopChat(const std::string& eosId) {
    std::vector<std::string> texts = Chat(eosId);
    std::erase_if(texts, [](const std::string& text) { return text.rfind("You received", 0) == 0; });
    return texts;
  }
  std::string LogRow() {
    return Sql().Scalar("SELECT CONCAT(amount,'|',points_change,'|',newpoints,'|',redeemsLeft) FROM " + prefix_ +
                        "_shoplog");
  }
};

TEST_F(NothingLost, APurchaseWhoseChargeFailsDeliversNothingAndTellsNobody) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  const std::string wood = std::to_string(VariantId(ann, "Wood Kit"));
  TakeShopLogAway();
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Wood Kit,2;" + wood + ";;");
  Settle(1500);
  EXPECT_EQ(ItemsOf(ann, wood_), 0) << "goods handed out for a charge that did not commit";
  EXPECT_EQ(Points("AnnEos"), 1000);
  EXPECT_TRUE(ShopChat("AnnEos").empty());
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_updatepoints").empty());
  EXPECT_TRUE(Logged("DBHelper::chargePurchase did not happen for eosId AnnEos: 240 points for 2 x 'Wood Kit,1;Wood;;'"));
  BringShopLogBack();
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_EQ(Server().Discord().Received().size(), 0u);

  // The player is free again and the next purchase goes through.
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Wood Kit,1;" + wood + ";;");
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_updatepoints", 1));
  EXPECT_EQ(ItemsOf(ann, wood_), 10);
  EXPECT_EQ(Points("AnnEos"), 880);
}

// Another writer takes the balance between the read and the charge: the charge
// is refused in the database, and the balance never goes below zero.
TEST_F(NothingLost, ABalanceSpentElsewhereAfterTheReadIsNotTakenBelowZero) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 120);
  const std::string wood = std::to_string(VariantId(ann, "Wood Kit"));
  auto lock = Sql();
  lock.Exec("START TRANSACTION");
  lock.Exec("UPDATE " + prefix_ + "_player_points SET points=50 WHERE eosId='AnnEos'");
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Wood Kit,1;" + wood + ";;");
  Settle(800);  // the read saw 120 (the other writer has not committed); the charge waits for the row
  lock.Exec("COMMIT");
  Settle(1200);
  EXPECT_EQ(Points("AnnEos"), 50);
  EXPECT_EQ(ItemsOf(ann, wood_), 0);
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_TRUE(ShopChat("AnnEos").empty());
}

TEST_F(NothingLost, APurchaseWhoseDeliveryPartlyFailsRefundsTheRest) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  const std::string stone = std::to_string(VariantId(ann, "Stone Kit"));
  // One slot, its stack five short of full: the first unit arrives, the others cannot.
  Give(ann, stone_, 995);
  ann.Character->Inventory->MaxSlots = 1;
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,3;" + stone + ";;");
  // A passive reward of 0 points may be told first; the purchase's change is the one that is not 0.
  const auto purchaseChanges = [&] {
    std::vector<int64_t> changes;
    for (const auto& change : Mod().EventsOf("AnnEos", "a_updatepoints"))
      if (change != 0) changes.push_back(change.get<int64_t>());
    return changes;
  };
  ASSERT_TRUE(fixture_.TickUntil([&] { return !purchaseChanges().empty(); }));
  EXPECT_EQ(purchaseChanges(), std::vector<int64_t>{-50});
  EXPECT_EQ(ShopChat("AnnEos"), std::vector<std::string>{"You bought Stone for 50 points."});
  EXPECT_EQ(ItemsOf(ann, stone_), 1000);
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 950; })) << Points("AnnEos");
  EXPECT_EQ(LogRow(), "1|-50|950|0") << "the log shows what arrived and what it cost";
  ASSERT_TRUE(Server().Discord().WaitFor(1));
  EXPECT_NE(Server().Discord().Received()[0].Body.find("50"), std::string::npos);
}

TEST_F(NothingLost, APurchaseOfWhichNothingArrivesIsRefundedWholeWithItsCooldown) {
  config_["ShopPackets"][1]["PlayerCooldownHours"] = 1;
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  const std::string stone = std::to_string(VariantId(ann, "Stone Kit"));
  ann.Character->Inventory->MaxSlots = 0;
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,2;" + stone + ";;");
  Settle(1500);
  EXPECT_EQ(Points("AnnEos"), 1000);
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_EQ(Count("player_cooldowns"), 0);
  EXPECT_TRUE(ShopChat("AnnEos").empty());
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_updatepoints").empty());
}

TEST_F(NothingLost, ASaleWhoseCreditFailsKeepsTheItems) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  Give(ann, stone_, 47);
  TakeShopLogAway();
  Mod().Send(ann, TandorShopMod::MsgSell, 5, 0, "Stone");
  Settle(1500);
  EXPECT_EQ(ItemsOf(ann, stone_), 47);
  EXPECT_EQ(Points("AnnEos"), 0);
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_updatepoints").empty());
  EXPECT_TRUE(Logged("DBHelper::sellItems did not happen for eosId AnnEos: 15 points for selling Stone"));
  BringShopLogBack();
  EXPECT_EQ(Server().Discord().Received().size(), 0u);
}

TEST_F(NothingLost, ARedeemIntoAFullInventoryKeepsTheHeldUnitsAndLogsNothing) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  Hold("AnnEos", "Stone Kit,1;Stone;;", 3);
  ann.Character->Inventory->MaxSlots = 0;
  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,2;Stone;;");
  Settle(1500);
  EXPECT_TRUE(fixture_.TickUntil([&] { return Held("AnnEos", "Stone Kit,1;Stone;;") == 3; }));
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_TRUE(ShopChat("AnnEos").empty());
  EXPECT_TRUE(Mod().EventsOf("AnnEos", "a_update_redeem").empty());
  EXPECT_EQ(Server().Discord().Received().size(), 0u);

  // Room for one of two: one is logged, told and reported, one goes back.
  ann.Character->Inventory->MaxSlots = 300;
  Give(ann, stone_, 995);
  ann.Character->Inventory->MaxSlots = 1;
  PastThrottle();
  Mod().Send(ann, TandorShopMod::MsgRedeem, -1, 0, "Stone Kit,2;Stone;;");
  ASSERT_TRUE(WaitForEvents("AnnEos", "a_update_redeem", 1));
  EXPECT_EQ(Mod().EventsOf("AnnEos", "a_update_redeem")[0]["RedeemsLeft"], 2);
  EXPECT_TRUE(fixture_.TickUntil([&] { return Held("AnnEos", "Stone Kit,1;Stone;;") == 2; }));
  EXPECT_EQ(ItemsOf(ann, stone_), 1000);
  EXPECT_EQ(LogRow(), "1|0|0|2");
  ASSERT_TRUE(Server().Discord().WaitFor(1));
}

TEST_F(NothingLost, ARedeemWhosePlayerLeavesWritesNoLogRow) {
  Start();
  auto& ann = JoinWith("AnnEos", 11, 0);
  auto lock = Sql();
  RedeemTwoOfThreeBehindALock(ann, lock);
  Server().LeavePlayer("AnnEos");
  lock.Exec("COMMIT");
  Settle(1500);
  EXPECT_TRUE(fixture_.TickUntil([&] { return Held("AnnEos", "Stone Kit,1;Stone;;") == 3; }));
  EXPECT_EQ(Count("shoplog"), 0);
  EXPECT_EQ(Server().Discord().Received().size(), 0u);
}

}  // namespace
}  // namespace shopops
