// The admin import of an Arkshop points table.
#include <algorithm>
#include <cstdint>
#include <fmt/format.h>

#include "core/Clock.h"
#include "core/Log.h"
#include "core/TextConversion.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/OperationIds.h"
#include "db/QueryFrame.h"
#include "db/Transaction.h"

namespace DBHelper {
namespace {

constexpr const char* kNoSourceConnection = "Failed to get connect to database for arkshop data.";
constexpr const char* kNoSourceData = "Failed to get arkshop player data.";
constexpr const char* kTransferred = "Did transfer arkshop points.";
constexpr const char* kTransferredSomeSkipped = "Did transfer arkshop points. {} of {} rows were skipped, see the log.";
constexpr const char* kAllSkipped = "Did not transfer arkshop points: all {} rows were skipped, see the log.";
constexpr std::size_t kMaxIdentifierLength = 64;
constexpr std::size_t kEosIdChars = 47;
// Rows written, with their operation id, in one transaction.
constexpr std::size_t kRowsPerTransaction = 100;

bool IsPlainIdentifier(const std::string& name) {
  if (name.empty() || name.size() > kMaxIdentifierLength) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
  });
}

// Rows whose EOS id cannot be a key of the points table would fail their whole batch.
std::size_t DropUnusableIds(std::vector<ArkshopPoints>& entries) {
  const auto unusable = [](const ArkshopPoints& entry) {
    return entry.eosId.empty() || FitColumn(entry.eosId, kEosIdChars).size() != entry.eosId.size();
  };
  const auto dropped = std::erase_if(entries, unusable);
  if (dropped > 0) TandorShop::Log().warn("Skipped {} arkshop rows without a usable EOS id.", dropped);
  return dropped;
}

// A balance holds 0 to 2147483647 points: a debt or a sum beyond 32 bits would
// be copied into a balance the shop cannot use, so the row is left for an admin.
std::size_t DropUnfitPoints(std::vector<ArkshopPoints>& entries) {
  const auto unfit = [](const ArkshopPoints& entry) {
    if (entry.points >= 0 && entry.points <= INT32_MAX) return false;
    TandorShop::Log().warn("Skipped arkshop row of eosId {}: {} points are outside 0 to 2147483647.", entry.eosId,
                           entry.points);
    return true;
  };
  return std::erase_if(entries, unfit);
}

std::string CompleteReply(std::size_t skipped, std::size_t total) {
  if (skipped == 0) return kTransferred;
  return fmt::format(fmt::runtime(kTransferredSomeSkipped), skipped, total);
}

std::string PartialTransferReply(std::size_t written, std::size_t total) {
  return fmt::format("Failed to transfer arkshop points: {} of {} rows were written before the failing batch.",
                     written, total);
}

std::string UnknownOutcomeReply(std::size_t written, std::size_t total) {
  return fmt::format("Database unavailable; whether the batch after the first {} of {} rows was written is not "
                     "known. Running the import again is safe.",
                     written, total);
}

// One batch of rows and its operation id in one transaction: a batch whose commit
// answer was lost is looked up by its id, so the reply never counts a batch the
// database did not keep nor leaves out one it kept.
CommitOutcome WriteBatch(DBConnection& target, const std::vector<ArkshopPoints>& batch, int64_t now) {
  const std::string opId = NewOperationId();
  // After a lost answer the connection starts afresh.
  if ((target.CommitOutcomeUnknown() || !target.IsOpen()) && !target.Reopen()) return CommitOutcome::NotCommitted;
  Transaction transaction(target);
  if (!insertArkshopData(target, batch, now).complete || !target.NoQueryFailed()) return CommitOutcome::NotCommitted;
  RecordOperation(target, opId, FString(), "ArkshopImport");
  return CommitIdentified(target, transaction, opId, "DBHelper::importArkshopPoints");
}

std::string Import(const std::string& tableName, const std::string& server, const std::string& username,
                   const std::string& password, const std::string& database, uint32_t port) {
  if (!IsPlainIdentifier(tableName)) {
    TandorShop::Log().warn("The arkshop table name is not a plain table name.");
    return kNoSourceData;
  }
  std::vector<ArkshopPoints> entries;
  {
    DBConnection source(server, username, password, database, tableName, port);
    if (!source.HasHandle()) return kNoSourceConnection;
    selectArkshopPlayerData(source, "`" + tableName + "`", entries);
    source.Finish();
  }
  if (entries.empty()) return kNoSourceData;
  const std::size_t total = entries.size();
  const std::size_t skipped = DropUnusableIds(entries) + DropUnfitPoints(entries);
  if (entries.empty()) return fmt::format(fmt::runtime(kAllSkipped), total);

  const int64_t now = TandorShop::Clock::NowUnix();
  DBConnection target(Settings());
  std::size_t written = 0;
  while (written < entries.size()) {
    const std::size_t count = std::min(kRowsPerTransaction, entries.size() - written);
    const auto first = entries.begin() + static_cast<std::ptrdiff_t>(written);
    const CommitOutcome outcome =
        WriteBatch(target, std::vector<ArkshopPoints>(first, first + static_cast<std::ptrdiff_t>(count)), now);
    if (outcome != CommitOutcome::Committed) {
      target.Finish();
      return outcome == CommitOutcome::Unknown ? UnknownOutcomeReply(written, entries.size())
                                               : PartialTransferReply(written, entries.size());
    }
    written += count;
  }
  target.Finish();
  return CompleteReply(skipped, total);
}

}  // namespace

std::string importArkshopPoints(const std::string& tableName, const std::string& server, const std::string& username,
                                const std::string& password, const std::string& database, uint32_t port) {
  return RunOperation("DBHelper::importArkshopPoints", std::string("Failed to transfer arkshop points."), [&] {
    return Import(tableName, server, username, password, database, port);
  });
}

}  // namespace DBHelper
