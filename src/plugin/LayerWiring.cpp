#include "plugin/LayerWiring.h"

#include <limits>
#include <string>
#include <vector>

#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/GameInfo.h"
#include "core/Log.h"
#include "core/TextConversion.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/ModChannel.h"
#include "notify/VersionCheck.h"
#include "shop/InFlight.h"
#include "shop/ModRequestTable.h"

namespace TandorShop {
namespace {

// The player cooldowns this server configures, each kept at least 31 days.
std::vector<DBHelper::CooldownLifetime> ConfiguredCooldowns() {
  std::vector<DBHelper::CooldownLifetime> cooldowns;
  for (const auto& packet : ConfigHelper::ShopConfig().ShopPackets)
    cooldowns.push_back({packet.PacketName, packet.PlayerCooldown});
  return cooldowns;
}

// What an earlier run of this server charged or took and never settled (a crash,
// an unload while goods were on their way, a database that was down): nothing of
// it arrived as far as the shop knows, so it is given back, once. Listed before
// the channel opens, so no operation of this run is among them.
void SettleLeftovers() {
  const DBHelper::DBSettings settings = DBHelper::Settings();
  const std::vector<std::string> leftovers =
      DBHelper::leftoverSettlements(settings, GameInfo::ServerId(), std::numeric_limits<int64_t>::max());
  if (leftovers.empty()) return;
  Pool().PostTask(PoolTask::MakeJob([settings, leftovers] {
    for (const std::string& opId : leftovers)
      DBHelper::settleOperation(settings, opId, 0, std::nullopt, "left by an earlier run");
  }));
}

// Operation ids a day old are of no more use to any retry: cleared on a worker,
// a thousand at a time, so no statement holds many locks for long.
void ClearOldOperationIds() {
  Pool().PostTask(PoolTask::MakeJob([] {
    const int64_t now = Clock::NowUnix();
    for (int batch = 0; batch < 100 && DBHelper::clearOldOperationIds(now) >= 1000; ++batch) {
    }
  }));
}

void StartOfRun() {
  DBHelper::runStartupMaintenance(ConfiguredCooldowns());
  SettleLeftovers();
  ClearOldOperationIds();
}

}  // namespace

void WireLayers() {
  ShopRequests::InstallModRequestHandlers();
  ModChannel::SetChannelSteps({&StartOfRun, &InFlight::Clear});
  VersionCheck::SetOnShopAllowed(&ModChannel::StartModChannel);
}

}  // namespace TandorShop
