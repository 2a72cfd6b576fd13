// Operations on players' points and character records.
#include <algorithm>

#include "core/Clock.h"
#include "core/GameInfo.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {
}

PlayerPointsRow loadPlayerPoints(const FString& eosId) {
  return RunOperation("DBHelper::loadPlayerPoints", PlayerPointsRow{0, 0}, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    PlayerPointsRow row = selectPlayerPoints(db, eosId);
    if (row.points == -1) {
      addNewPlayer(db, eosId, now);
      row.points = 0;
    }
    db.Finish();
    return row;
  });
}

bool changePoints(const FString& eosId, int32_t amount) {
  return RunOperation("DBHelper::changePoints", false, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    const bool changed = addPlayerPoints(db, amount, now, eosId) > 0;
    db.Finish();
    return changed;
  });
}

bool spendPoints(const FString& eosId, int32_t amount) {
  return RunOperation("DBHelper::spendPoints", false, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    const bool taken = spendPlayerPoints(db, amount, now, eosId) > 0;
    db.Finish();
    return taken;
  });
}

bool assignPoints(const FString& eosId, int32_t points) {
  return RunOperation("DBHelper::assignPoints", false, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    const bool assigned = setPlayerPoints(db, points, now, eosId) > 0;
    db.Finish();
    return assigned;
  });
}

void resetAllPoints() {
  RunOperation("DBHelper::resetAllPoints", 0, [] {
    DBConnection db(Settings());
    resetPlayerPoints(db);
    db.Finish();
    return 0;
  });
}

void saveSecondsWithoutReward(const FString& eosId, int32_t seconds) {
  RunOperation("DBHelper::saveSecondsWithoutReward", 0, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    updateSecondsWithoutReward(db, seconds, now, eosId);
    db.Finish();
    return 0;
  });
}

void recordLogin(const PointsHandler::PlayerLoginDB& login) {
  RunOperation("DBHelper::recordLogin", 0, [&] {
    DBConnection db(Settings());
    insertPlayerLogin(db, login);
    db.Finish();
    return 0;
  });
}

void recordLogout(const PointsHandler::PlayerLogoutDB& logout) {
  RunOperation("DBHelper::recordLogout", 0, [&] {
    DBConnection db(Settings());
    insertPlayerLogout(db, logout.LogoutTime, logout.EosId);
    db.Finish();
    return 0;
  });
}

void runStartupMaintenance(int32_t cooldownRowLifetimeSeconds) {
  const int32_t lifetime = std::max(cooldownRowLifetimeSeconds, kMinCooldownRowLifetimeSeconds);
  RunOperation("DBHelper::runStartupMaintenance", 0, [lifetime] {
    const int64_t serverId = TandorShop::GameInfo::ServerId();
    DBConnection db(Settings());
    fixMissedLogouts(db, serverId);
    clearWrongPlayerData(db, serverId);
    clearOldPlayerCooldowns(db, lifetime);
    db.Finish();
    return 0;
  });
}

void loadTradeTargets(TArray<ModComm::A_TradeTarget>& targets, int32_t spanSeconds) {
  RunOperation("DBHelper::loadTradeTargets", 0, [&] {
    DBConnection db(Settings());
    getTradeTargets(db, spanSeconds, targets);
    db.Finish();
    return 0;
  });
}

void loadPointsWithCds(ModComm::DB_PlayerPointsWithCds& record, const FString& eosId) {
  RunOperation("DBHelper::loadPointsWithCds", 0, [&] {
    DBConnection db(Settings());
    record.points = selectPlayerPoints(db, eosId).points;
    getPlayerCds(db, eosId, record.Cooldowns);
    db.Finish();
    return 0;
  });
}

}  // namespace DBHelper
