// The ts.points timer: the passive reward on every fifteenth call.
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

namespace PointsHandler {
namespace {

uint32_t g_calls = 0;

void RewardOnlinePlayers() {
  const int64_t now = TandorShop::Clock::NowUnix();
  const int32_t interval = ConfigHelper::ShopConfig().RewardIntervalSeconds;
  for (OnlinePlayer& player : OnlinePlayers()) {
    if (!(now - player.LastRewardTime > interval)) continue;
    player.LastRewardTime = now;
    const int32_t amount = TandorShop::Eligibility::PassivePointsOf(player.EosId);
    TandorShop::Pool().PostTask(
        PoolTask::MakeJob([eosId = player.EosId, amount] { DBHelper::changePoints(eosId, amount); }));
    ModComm::NotifyPointsChange(player.EosId, amount);
  }
}

}  // namespace

void OnPointsTimer() {
  ModChannel::RunPendingStart();
  // Without the mod channel nobody else hands finished results back.
  if (!TandorShop::ModChannelActive.load()) TandorShop::Pool().DrainResults();
  if (g_calls++ % 15 == 0) RewardOnlinePlayers();
}

}  // namespace PointsHandler
