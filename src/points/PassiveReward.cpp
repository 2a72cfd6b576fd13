// The ts.points timer: the passive reward on every fifteenth call, and another
// try of the settlements that wait for the database.
#include <memory>

#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/PluginState.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/ModChannel.h"
#include "modcomm/PlayerMessages.h"
#include "points/OnlinePlayers.h"
#include "points/PointsHandler.h"
#include "shop/Eligibility.h"
#include "shop/Settlements.h"

namespace PointsHandler {
namespace {

uint32_t g_calls = 0;

// The credit came back: the player is told only of a committed credit; a failed
// one leaves the reward due (unless the reward time moved since).
void RewardCredited(const FString& eosId, int32_t amount, int64_t paidAt,
                    const std::shared_ptr<RewardInFlight>& reward) {
  OnlinePlayer* player = FindOnline(eosId);
  if (player != nullptr && player->Reward == reward) {
    player->Reward.reset();
    if (!reward->Credited && !reward->Unknown && player->LastRewardTime == paidAt)
      player->LastRewardTime = reward->PreviousRewardTime;
  }
  if (reward->Credited) ModComm::NotifyPointsChange(eosId, amount);
}

void PostReward(OnlinePlayer& player, int64_t now) {
  const int32_t amount = TandorShop::Eligibility::PassivePointsOf(player.EosId);
  auto reward = std::make_shared<RewardInFlight>();
  reward->PreviousRewardTime = player.LastRewardTime;
  player.LastRewardTime = now;
  player.Reward = reward;
  // In the player's session order, so a logout's stored seconds know how the credit ended.
  TandorShop::Pool().PostTask(
      PoolTask::MakeWork(
          [eosId = player.EosId, amount, reward](ArkTandor_AsyncTaskResults&) {
            // The credit makes the player's row when login could not.
            const DBHelper::WriteResult result = DBHelper::creditPointsFor(eosId, amount, "PassiveReward");
            reward->Credited = result == DBHelper::WriteResult::Done;
            reward->Unknown = result == DBHelper::WriteResult::Unknown;
          },
          [eosId = player.EosId, amount, now, reward](ArkTandor_AsyncTaskResults) {
            RewardCredited(eosId, amount, now, reward);
          })
          .OrderedBy(SessionOrderKey(player.EosId)));
}

void RewardOnlinePlayers() {
  const int64_t now = TandorShop::Clock::NowUnix();
  const int32_t interval = ConfigHelper::ShopConfig().RewardIntervalSeconds;
  for (auto& [id, player] : OnlinePlayers()) {
    if (player.Reward != nullptr) continue;  // one credit at a time
    if (!(now - player.LastRewardTime > interval)) continue;
    PostReward(player, now);
  }
}

}  // namespace

void OnPointsTimer() {
  ModChannel::RunPendingStart();
  // Without the mod channel nobody else hands finished results back.
  if (!TandorShop::ModChannelActive.load()) TandorShop::Pool().DrainResults();
  TandorShop::Settlements::RetryDue();
  if (g_calls++ % 15 == 0) RewardOnlinePlayers();
}

}  // namespace PointsHandler
