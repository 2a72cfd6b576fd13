#include "points/ExportedPoints.h"

#include <exception>

#include "core/Log.h"
#include "db/DBHelper.h"

namespace TandorShop {
namespace {

// Nothing may escape into another plugin.
template <typename Result, typename Body>
Result Guarded(const char* name, Result fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    try {
      Log().error("{} failed: {}", name, e.what());
    } catch (...) {
    }
  } catch (...) {
  }
  return fallback;
}

}  // namespace

bool AddPoints(int amount, const FString& eosId) {
  return Guarded("TandorShop::AddPoints", false, [&] {
    return DBHelper::changePointsFor(eosId, amount, "TandorShop::AddPoints") == DBHelper::WriteResult::Done;
  });
}

bool SpendPoints(int amount, const FString& eosId) {
  return Guarded("TandorShop::SpendPoints", false, [&] {
    const DBHelper::PlayerPointsRow row = DBHelper::loadPlayerPoints(eosId);
    if (row.points < static_cast<int64_t>(amount)) return false;
    return DBHelper::spendPoints(eosId, amount);
  });
}

int GetPoints(const FString& eosId) {
  return Guarded("TandorShop::GetPoints", 0, [&] {
    const DBHelper::PlayerPointsRow row = DBHelper::loadPlayerPoints(eosId);
    return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(row.points)));
  });
}

bool SetPoints(const FString& eosId, int amount) {
  return Guarded("TandorShop::SetPoints", false, [&] {
    return DBHelper::assignPointsFor(eosId, amount, "TandorShop::SetPoints") == DBHelper::WriteResult::Done;
  });
}

}  // namespace TandorShop
