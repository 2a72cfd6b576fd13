#include "shop/PointsFirst.h"

#include <utility>

#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "shop/InFlight.h"

namespace TandorShop::ShopRequests {

void BeginWithPointsAndCooldowns(const FString& eosId, std::function<void(const PointsRecord&)> then) {
  if (!InFlight::Begin(eosId)) return;
  InFlight::Scope operation(eosId);
  auto record = std::make_shared<ModComm::DB_PlayerPointsWithCds>();
  Pool().PostTask(PoolTask::MakeWork(
      [record, eosId](ArkTandor_AsyncTaskResults&) { DBHelper::loadPointsWithCds(*record, eosId); },
      [record, then = std::move(then)](ArkTandor_AsyncTaskResults) { then(record); }));
  operation.HandOn();
}

}  // namespace TandorShop::ShopRequests
