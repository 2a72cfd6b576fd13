// Server cooldowns are held in memory: requests never read packetCds.txt, and the
// file follows on a worker so it is still the record at the next start.
#include <filesystem>

#include "ShopOpsFixture.h"

namespace shopops {
namespace {

TEST_F(ShopOps, RequestsSeeServerCooldownsHeldInMemoryWithoutTouchingTheFile) {
  config_["ShopPackets"][1]["ServerCooldownHours"] = 1;
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  auto& bob = JoinWith("BobEos", 12, 1000);
  const int32_t stone = VariantId(ann, "Stone Kit");
  const int32_t wood = VariantId(bob, "Wood Kit");
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + std::to_string(stone) + ";;");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 950; }));

  // The purchase's cooldown reaches the file; then the file becomes unreadable.
  const std::filesystem::path file = fixture_.Dir() + "/ArkApi/Plugins/TandorShop/packetCds.txt";
  ASSERT_TRUE(fixture_.TickUntil([&] { return std::filesystem::file_size(file) > 0; }));
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);

  PastThrottle();
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + std::to_string(stone) + ";;");
  Settle();
  EXPECT_EQ(Points("BobEos"), 1000) << "the cooldown held in memory refuses the second buyer";
  EXPECT_EQ(ItemsOf(bob, stone_), 0);

  Mod().Send(bob, TandorShopMod::MsgOpenShop);
  ASSERT_TRUE(WaitForEvents("BobEos", "a_openshop", 1));
  const auto running = Mod().EventsOf("BobEos", "a_openshop")[0]["ServerCooldowns"];
  ASSERT_EQ(running.size(), 1u) << running.dump();

  PastThrottle();
  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Wood Kit,1;" + std::to_string(wood) + ";;");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Points("BobEos") == 880; }));
  Settle();  // the purchase's last write ends it
  Hold("BobEos", "Wood Kit,1;Wood;;", 1);
  Mod().Send(bob, TandorShopMod::MsgRedeem, -1, 0, "Wood Kit,1;Wood;;");
  ASSERT_TRUE(WaitForEvents("BobEos", "a_update_redeem", 1));
  EXPECT_EQ(ItemsOf(bob, wood_), 20);

  EXPECT_EQ(Server().CountLog("Failed to open cooldown file."), 0u) << "a request read or wrote the file";
}

// The cooldown is held from the check on: of two buyers in one tick only one is
// charged; a purchase of which nothing arrived gives the cooldown back.
TEST_F(ShopOps, AServerCooldownIsHeldFromTheCheckAndGivenBackWhenNothingArrives) {
  config_["ShopPackets"][1]["ServerCooldownHours"] = 1;
  Start();
  auto& ann = JoinWith("AnnEos", 11, 1000);
  auto& bob = JoinWith("BobEos", 12, 1000);
  auto& cid = JoinWith("CidEos", 13, 1000);
  const std::string stone = std::to_string(VariantId(ann, "Stone Kit"));

  ann.Character->Inventory->MaxSlots = 0;  // nothing can arrive
  Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Count("shoplog") == 0 && Points("AnnEos") == 1000; }));
  Settle();
  EXPECT_EQ(ItemsOf(ann, stone_), 0);

  Mod().Send(bob, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;");
  Mod().Send(cid, TandorShopMod::MsgBuy, 0, 0, "Stone Kit,1;" + stone + ";;");
  ASSERT_TRUE(fixture_.TickUntil([&] { return Count("shoplog") == 1; }));
  Settle();
  EXPECT_EQ(Count("shoplog"), 1) << "both buyers of a packet with a server cooldown were charged";
  EXPECT_EQ(Points("BobEos") + Points("CidEos"), 1950);
  EXPECT_EQ(ItemsOf(bob, stone_) + ItemsOf(cid, stone_), 5);
}

}  // namespace
}  // namespace shopops
