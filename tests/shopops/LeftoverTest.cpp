// What an earlier run charged or took and never settled (a crash, or an unload
// while goods were on their way) is given back at the next start, once, with a
// line that names the player, the amount and the operation.
#include <algorithm>

#include "ShopOpsFixture.h"

namespace shopops {
namespace {

class Leftovers : public ShopOps {
 protected:
  bool Logged(const std::string& text) {
    const auto lines = Server().LogLines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  }
  // What a charge of an earlier run wrote before the server went down: the take,
  // the log row and what the purchase owes.
  void ChargedBeforeTheCrash(const std::string& eosId, const std::string& opId, int points, int serverId) {
    Sql().Exec("UPDATE " + prefix_ + "_player_points SET points=points-" + std::to_string(points) +
               " WHERE eosId='" + eosId + "'");
    Sql().Exec("INSERT INTO " + prefix_ + "_shoplog (eosId,packet,descr,timestamp,serverid,amount,points_change,"
               "newpoints,isBuy) VALUES ('" + eosId + "','Wood Kit,1;;;','d',1000," + std::to_string(serverId) +
               ",1,-" + std::to_string(points) + ",0,1)");
    Sql().Exec("INSERT INTO " + prefix_ + "_settlements (opId,serverId,eosId,kind,packet,logTimestamp,units,points,"
               "created) VALUES ('" + opId + "'," + std::to_string(serverId) + ",'" + eosId +
               "',1,'Wood Kit,1;;;',1000,1," + std::to_string(points) + ",1000)");
  }
};

TEST_F(Leftovers, TheNextStartRefundsWhatAnEarlierRunChargedAndNeverDelivered) {
  Start();
  JoinWith("AnnEos", 21, 1000);
  const std::string ours(32, 'a');
  const std::string theirs(32, 'b');
  ChargedBeforeTheCrash("AnnEos", ours, 120, 1);  // this server (id 1)
  ChargedBeforeTheCrash("AnnEos", theirs, 30, 2);  // another server of the network
  ASSERT_EQ(Points("AnnEos"), 850);

  Server().UnloadPlugin();
  ASSERT_TRUE(fixture_.LoadAndOpenShop());
  EXPECT_TRUE(fixture_.TickUntil([&] { return Points("AnnEos") == 970; }));
  EXPECT_TRUE(fixture_.TickUntil([&] {
    return Logged("Settled purchase " + ours + " (left by an earlier run): 120 points refunded to eosId AnnEos");
  }));
  EXPECT_EQ(Count("settlements"), 1) << "the other server's settlement is its own to make";
  EXPECT_EQ(Count("shoplog", "serverid=1"), 0) << "the log row of a purchase that never arrived goes";

  Server().UnloadPlugin();
  ASSERT_TRUE(fixture_.LoadAndOpenShop());
  fixture_.TickUntil([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(Points("AnnEos"), 970) << "a settlement is made once";
}

// An unload while a purchase is on its way never keeps points without goods:
// either the charge did not run, or the goods arrived, or the next start refunds.
TEST_F(Leftovers, AnUnloadDuringAPurchaseKeepsTheBooksExact) {
  Start();
  auto& ann = JoinWith("AnnEos", 22, 1000);
  const std::string wood = std::to_string(VariantId(ann, "Wood Kit"));
  for (int round = 0; round < 3; ++round) {
    PastThrottle();
    Mod().Send(ann, TandorShopMod::MsgBuy, 0, 0, "Wood Kit,1;" + wood + ";;");
    Server().UnloadPlugin();
    ASSERT_TRUE(fixture_.LoadAndOpenShop());
    EXPECT_TRUE(fixture_.TickUntil([&] { return Count("settlements") == 0; }));
  }
  const int32_t kits = ItemsOf(ann, wood_) / 10;
  EXPECT_EQ(Points("AnnEos") + 120 * kits, 1000) << kits << " kits arrived";
  EXPECT_EQ(Count("shoplog", "isBuy"), kits);
}

}  // namespace
}  // namespace shopops
