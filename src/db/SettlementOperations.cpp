// Settling what a charge or a redeem owes once its goods arrived (or did not):
// the refund or the units given back, the log row brought down to what arrived,
// the player cooldown given back when nothing did, and the settlement row deleted,
// in one transaction. The row is the guard: a settlement that finds no row has
// already been made, so a retry after a lost answer never applies it twice.
#include <algorithm>

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

ShopLogRecord WrittenRow(const Settlement& owed) {
  ShopLogRecord row;
  row.eosId = owed.eosId;
  row.packet = owed.packet;
  row.timestamp = owed.logTimestamp;
  row.amount = owed.units;
  if (owed.kind == SettlementKind::Purchase) {
    row.pointsChange = -owed.points;
    row.isBuy = 1;
  } else {
    row.redeemsLeft = owed.redeemsLeft;
    row.isRedeem = 1;
  }
  return row;
}

// The writes of one settlement inside its transaction; false when the player's
// row could not take the refund (the settlement is given up then).
bool WriteSettlement(DBConnection& db, const Settlement& owed, int32_t delivered, int64_t refund, int64_t now,
                     bool& playerMissing) {
  const ShopLogRecord written = WrittenRow(owed);
  ShopLogRecord corrected = written;
  corrected.amount = delivered;
  if (owed.kind == SettlementKind::Purchase) {
    corrected.pointsChange = -(owed.points - refund);
    // Answered at once: a refund that finds no row must not commit.
    if (refund > 0 && addPlayerPoints(db, static_cast<int32_t>(refund), now, owed.eosId) == 0) {
      playerMissing = db.NoQueryFailed();
      return false;
    }
  } else {
    const int32_t back = owed.units - delivered;
    corrected.redeemsLeft = owed.redeemsLeft + back;
    if (back > 0) updateRedeemPacketAddAmount(db, owed.eosId, owed.packet, back, now, owed.isReward);
  }
  const bool changed = delivered < owed.units || corrected.pointsChange != written.pointsChange;
  if (changed && !correctShopLog(db, written, corrected))
    LogUnexpectedError("DBHelper::settleOperation", "the operation's log row was not found");
  if (delivered < 1 && !owed.cooldownName.IsEmpty())
    restorePlayerPacketCd(db, owed.eosId, owed.cooldownName, owed.cooldownBefore, owed.cooldownSet);
  deleteSettlement(db, owed.opId);
  return true;
}

std::optional<bool> SettlementStillOwed(const DBSettings& settings, const std::string& opId) {
  try {
    DBConnection db(settings.server, settings.username, settings.password, settings.database, settings.tablePrefix,
                    settings.port);
    std::optional<bool> owed;
    if (db.IsOpen()) {
      Transaction transaction(db);
      owed = lockSettlement(db, opId).has_value();
      if (!db.NoQueryFailed()) owed.reset();
    }
    db.Finish();
    return owed;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

SettleResult GiveUp(DBConnection& db, const Settlement& owed, const std::string& reason) {
  giveUpSettlement(db, owed.opId, reason);
  TandorShop::Log().error(
      "Settlement {} given up for eosId {}: {} of {} x '{}' ({} points) is still owed: {}. It stays in the "
      "settlements table with state 2.",
      owed.opId, ToNarrow(owed.eosId), owed.kind == SettlementKind::Purchase ? "a refund" : "units given back",
      owed.units, ToNarrow(owed.packet), owed.points, reason);
  return SettleResult::GivenUp;
}

void LogSettled(const Settlement& owed, int32_t delivered, int64_t refund, std::string_view reason) {
  if (owed.kind == SettlementKind::Purchase)
    TandorShop::Log().warn("Settled purchase {} ({}): {} points refunded to eosId {} for {} of {} x '{}'", owed.opId,
                           reason, std::clamp<int64_t>(refund, 0, owed.points), ToNarrow(owed.eosId),
                           owed.units - delivered, owed.units, ToNarrow(owed.packet));
  else
    TandorShop::Log().warn("Settled redeem {} ({}): {} units of held packet '{}' given back to eosId {}", owed.opId,
                           reason, owed.units - delivered, ToNarrow(owed.packet), ToNarrow(owed.eosId));
}

}  // namespace

SettleResult settleOperation(const DBSettings& settings, const std::string& opId, int32_t delivered,
                             std::optional<int64_t> refund, std::string_view reason) {
  return RunRetried("DBHelper::settleOperation", SettleResult::Failed, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(settings);
    if (!db.IsOpen()) {
      db.Finish();
      return SettleResult::Failed;
    }
    std::optional<Settlement> owed;
    bool playerMissing = false;
    CommitOutcome outcome = CommitOutcome::NotCommitted;
    {
      Transaction transaction(db);
      owed = lockSettlement(db, opId);
      if (!db.NoQueryFailed()) return SettleResult::Failed;
      if (!owed) return SettleResult::NothingOwed;  // settled before, or never written
      if (owed->state != 0) return SettleResult::GivenUp;
      delivered = std::clamp(delivered, 0, owed->units);
      const int64_t back = std::clamp<int64_t>(refund.value_or(owed->points), 0, owed->points);
      if (!WriteSettlement(db, *owed, delivered, back, now, playerMissing) || !db.NoQueryFailed()) {
        if (!playerMissing) return SettleResult::Failed;
      } else {
        // The settlement row itself is the operation's id: its absence is the proof.
        outcome = CommitOperationOutcome(transaction, "DBHelper::settleOperation");
        if (outcome == CommitOutcome::Unknown) {
          const std::optional<bool> stillOwed = SettlementStillOwed(settings, opId);
          if (stillOwed) outcome = *stillOwed ? CommitOutcome::NotCommitted : CommitOutcome::Committed;
        }
      }
    }
    if (playerMissing) {
      const SettleResult given = GiveUp(db, *owed, "the player's points row is gone");
      db.Finish();
      return given;
    }
    db.Finish();
    if (outcome != CommitOutcome::Committed) return SettleResult::Failed;
    if (!reason.empty()) LogSettled(*owed, delivered, refund.value_or(owed->points), reason);
    return SettleResult::Settled;
  });
}

std::vector<std::string> leftoverSettlements(const DBSettings& settings, int64_t serverId, int64_t before) {
  std::vector<std::string> opIds;
  RunRetried("DBHelper::selectLeftoverSettlements", 0, [&] {
    DBConnection db(settings);
    selectLeftoverSettlements(db, serverId, before, opIds);
    db.Finish();
    return 0;
  });
  return opIds;
}

}  // namespace DBHelper
