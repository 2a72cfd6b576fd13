// Operations on players' points and character records.
#include <algorithm>

#include <fmt/format.h>

#include "core/Clock.h"
#include "core/GameInfo.h"
#include "core/TextConversion.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/OperationIds.h"
#include "db/QueryFrame.h"
#include "db/Transaction.h"

namespace DBHelper {
namespace {

// One statement on the player's row, with its operation id, in one transaction:
// Done when it matched the row, NoPlayer when there is none, Failed (with its
// warning) when nothing changed, Unknown when the answer to the commit was lost
// and the id could not be looked up.
template <typename Statement>
WriteResult WriteToPlayerRow(const char* qualifiedName, const FString& eosId, std::string_view operation,
                             const std::string& what, Statement&& statement) {
  const std::string opId = NewOperationId();  // one id for every try
  const WriteResult result = RunRetried(qualifiedName, WriteResult::Failed, [&] {
    DBConnection db(Settings());
    if (!db.IsOpen()) return WriteResult::Failed;
    Transaction transaction(db);
    const uint64_t rows = statement(db);
    if (!db.NoQueryFailed()) return WriteResult::Failed;
    if (rows == 0) return WriteResult::NoPlayer;
    // After the statement, so that the id's read of the row never holds a lock the
    // statement would wait for.
    RecordOperationOnPlayer(db, opId, eosId, operation);
    const CommitOutcome outcome = CommitIdentified(db, transaction, opId, qualifiedName);
    db.Finish();
    if (outcome == CommitOutcome::Committed) return WriteResult::Done;
    return outcome == CommitOutcome::Unknown ? WriteResult::Unknown : WriteResult::Failed;
  });
  if (result == WriteResult::Failed) LogLostWrite(operation, ToNarrow(eosId), what);
  return result;
}

}  // namespace

PlayerPointsRow loadPlayerPoints(const FString& eosId) {
  return RunRetried("DBHelper::loadPlayerPoints", PlayerPointsRow{0, 0}, [&] {
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
  return changePointsFor(eosId, amount, "DBHelper::changePoints") == WriteResult::Done;
}

WriteResult changePointsFor(const FString& eosId, int32_t amount, std::string_view operation) {
  const int64_t now = TandorShop::Clock::NowUnix();
  return WriteToPlayerRow("DBHelper::changePoints", eosId, operation,
                          fmt::format("{} points not added", amount),
                          [&](DBConnection& db) { return addPlayerPoints(db, amount, now, eosId); });
}

bool spendPoints(const FString& eosId, int32_t amount) {
  if (amount < 0) return false;  // a negative spend would credit
  const int64_t now = TandorShop::Clock::NowUnix();
  return WriteToPlayerRow("DBHelper::spendPoints", eosId, "DBHelper::spendPoints",
                          fmt::format("{} points not spent", amount),
                          [&](DBConnection& db) { return spendPlayerPoints(db, amount, now, eosId); }) ==
         WriteResult::Done;
}

WriteResult creditPointsFor(const FString& eosId, int32_t amount, std::string_view operation) {
  const int64_t now = TandorShop::Clock::NowUnix();
  return WriteToPlayerRow("DBHelper::changePoints", eosId, operation, fmt::format("{} points not added", amount),
                          [&](DBConnection& db) -> uint64_t {
                            creditPlayerPointsLater(db, amount, now, eosId);
                            // The row, made or updated, is there now: the id can be written.
                            return db.NoQueryFailed() ? 1 : 0;
                          });
}

bool assignPoints(const FString& eosId, int32_t points) {
  return assignPointsFor(eosId, points, "DBHelper::assignPoints") == WriteResult::Done;
}

WriteResult assignPointsFor(const FString& eosId, int32_t points, std::string_view operation) {
  const int64_t now = TandorShop::Clock::NowUnix();
  return WriteToPlayerRow("DBHelper::assignPoints", eosId, operation, fmt::format("points not set to {}", points),
                          [&](DBConnection& db) { return setPlayerPoints(db, points, now, eosId); });
}

ResetOutcome resetAllPoints() {
  return ResetInBatches("DBHelper::resetAllPoints", &resetPlayerPoints);
}

std::optional<int64_t> readPlayerPoints(const FString& eosId) {
  return RunRetried("DBHelper::loadPlayerPoints", std::optional<int64_t>{}, [&]() -> std::optional<int64_t> {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    if (!db.IsOpen()) return std::nullopt;
    PlayerPointsRow row = selectPlayerPoints(db, eosId);
    if (row.points == -1 && db.NoQueryFailed()) {
      addNewPlayer(db, eosId, now);
      row.points = 0;
    }
    const bool answered = db.NoQueryFailed();
    db.Finish();
    if (!answered) return std::nullopt;
    return row.points;
  });
}

void saveSecondsWithoutReward(const FString& eosId, int32_t seconds) {
  RunRetried("DBHelper::saveSecondsWithoutReward", 0, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    updateSecondsWithoutReward(db, seconds, now, eosId);
    db.Finish();
    return 0;
  });
}

void recordLogin(const PointsHandler::PlayerLoginDB& login) {
  RunRetried("DBHelper::recordLogin", 0, [&] {
    DBConnection db(Settings());
    insertPlayerLogin(db, login);
    db.Finish();
    return 0;
  });
}

void recordLogout(const PointsHandler::PlayerLogoutDB& logout) {
  RunRetried("DBHelper::recordLogout", 0, [&] {
    DBConnection db(Settings());
    insertPlayerLogout(db, logout.LogoutTime, logout.EosId);
    db.Finish();
    return 0;
  });
}

void runStartupMaintenance(const std::vector<CooldownLifetime>& cooldowns) {
  RunRetried("DBHelper::runStartupMaintenance", 0, [&] {
    const int64_t serverId = TandorShop::GameInfo::ServerId();
    DBConnection db(Settings());
    fixMissedLogouts(db, serverId);
    clearWrongPlayerData(db, serverId);
    for (const CooldownLifetime& cooldown : cooldowns)
      clearOldPlayerCooldowns(db, cooldown.Name, std::max(cooldown.Seconds, kMinCooldownRowLifetimeSeconds));
    db.Finish();
    return 0;
  });
}

void loadTradeTargets(TArray<ModComm::A_TradeTarget>& targets, int32_t spanSeconds) {
  RunRetried("DBHelper::loadTradeTargets", 0, [&] {
    DBConnection db(Settings());
    getTradeTargets(db, spanSeconds, targets);
    db.Finish();
    return 0;
  });
}

void loadPointsWithCds(ModComm::DB_PlayerPointsWithCds& record, const FString& eosId) {
  RunRetried("DBHelper::loadPointsWithCds", 0, [&] {
    DBConnection db(Settings());
    record.points = selectPlayerPoints(db, eosId).points;
    getPlayerCds(db, eosId, record.Cooldowns);
    db.Finish();
    return 0;
  });
}

}  // namespace DBHelper
