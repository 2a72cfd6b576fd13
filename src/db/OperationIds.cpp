#include "db/OperationIds.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <thread>

#include "core/TextConversion.h"
#include "db/DBErrorLog.h"
#include "db/DBHelper.h"
#include "db/DBSettings.h"
#include "core/Clock.h"
#include "core/Log.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {

std::mt19937_64& Generator() {
  thread_local std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(),
                       static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()),
                       static_cast<unsigned>(std::hash<std::thread::id>{}(std::this_thread::get_id()))};
    return std::mt19937_64(seed);
  }();
  return generator;
}

// Lookups after a lost answer: a few tries, since the server that dropped the
// connection may need a moment to take new ones.
constexpr int kLookupAttempts = 3;
constexpr auto kLookupPause = std::chrono::milliseconds(200);

}  // namespace

std::string NewOperationId() {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string id(32, '0');
  for (int half = 0; half < 2; ++half) {
    uint64_t bits = Generator()();
    for (int i = 0; i < 16; ++i, bits >>= 4) id[half * 16 + i] = kDigits[bits & 0xF];
  }
  return id;
}

void RecordOperation(DBConnection& db, const std::string& opId, const FString& eosId, std::string_view kind) {
  RunQuery(db, "DBHelper::insertOperation", false, [&] {
    db.Later("DBHelper::insertOperation",
             BuildStatement(db, Sql::insertOperation, opId, db.Escape(ToNarrow(eosId)), kind,
                            TandorShop::Clock::NowUnix()));
    return true;
  });
}

void RecordOperationOnPlayer(DBConnection& db, const std::string& opId, const FString& eosId, std::string_view kind) {
  RunQuery(db, "DBHelper::insertOperation", false, [&] {
    const std::string escaped = db.Escape(ToNarrow(eosId));
    db.Later("DBHelper::insertOperation", BuildStatement(db, Sql::insertOperationOnPlayer, opId, escaped, kind,
                                                         TandorShop::Clock::NowUnix(), db.Prefix(), escaped));
    return true;
  });
}

bool CommitAnswerLost(const mysql::mysql_exception& error) {
  return dynamic_cast<const mysql::commit_unknown*>(&error) != nullptr;
}

std::optional<bool> OperationCommitted(const DBSettings& settings, const std::string& opId) {
  for (int attempt = 1; attempt <= kLookupAttempts; ++attempt) {
    if (attempt > 1) std::this_thread::sleep_for(kLookupPause);
    std::optional<bool> found;
    try {
      // A connection of its own, never a kept one: the thread's may be the one that was lost.
      DBConnection db(settings.server, settings.username, settings.password, settings.database,
                      settings.tablePrefix, settings.port);
      if (db.IsOpen()) {
        mysql::result rows = db.Connection().query(BuildStatement(db, Sql::countOperation, opId));
        int64_t count = 0;
        for (const mysql::row_view row : rows) row.get(0, count);
        found = count > 0;
      }
      db.Finish();
    } catch (const std::exception&) {
    }
    if (found) return found;
  }
  return std::nullopt;
}

CommitOutcome CommitIdentified(DBConnection& db, Transaction& transaction, const std::string& opId,
                               std::string_view qualifiedName) {
  const CommitOutcome outcome = CommitOperationOutcome(transaction, qualifiedName);
  if (outcome != CommitOutcome::Unknown) return outcome;
  const std::optional<bool> committed = OperationCommitted(db.Settings(), opId);
  if (!committed) {
    LogUnexpectedError(qualifiedName, fmt::format("operation {} could not be looked up; it is settled when the "
                                                  "database answers",
                                                  opId));
    return CommitOutcome::Unknown;
  }
  TandorShop::Log().warn("{}: the answer to its commit was lost; operation {} {}", qualifiedName, opId,
                         *committed ? "did commit" : "did not commit");
  if (!*committed) NoteCommitNotKept();
  return *committed ? CommitOutcome::Committed : CommitOutcome::NotCommitted;
}

std::optional<bool> operationCommitted(const std::string& opId) { return OperationCommitted(Settings(), opId); }

uint64_t clearOldOperationIds(int64_t now) {
  return RunOperation("DBHelper::clearOldOperations", uint64_t{0}, [&] {
    DBConnection db(Settings());
    uint64_t deleted = 0;
    if (db.IsOpen())
      deleted = db.Connection().exec(BuildStatement(db, Sql::clearOldOperations, now - kOperationIdLifetimeSeconds));
    db.Finish();
    return deleted;
  });
}

}  // namespace DBHelper
