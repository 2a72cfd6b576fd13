#include "plugin/LayerWiring.h"

#include "db/DBHelper.h"
#include "modcomm/ModChannel.h"
#include "notify/VersionCheck.h"
#include "shop/Cooldowns.h"
#include "shop/InFlight.h"
#include "shop/ModRequestTable.h"

namespace TandorShop {
namespace {

void StartOfRun() { DBHelper::runStartupMaintenance(Cooldowns::LongestPlayerCooldown()); }

}  // namespace

void WireLayers() {
  ShopRequests::InstallModRequestHandlers();
  ModChannel::SetChannelSteps({&StartOfRun, &InFlight::Clear});
  VersionCheck::SetOnShopAllowed(&ModChannel::StartModChannel);
}

}  // namespace TandorShop
