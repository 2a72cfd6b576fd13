// The database side of a purchase and of a sale.
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

// Runs the writes of a purchase or a sale as one transaction: a failed query
// (logged under its name) rolls back the points change with the rest, so the
// balance never moves without its log row. `writes` returns false to keep
// nothing (a refused purchase). True when it committed.
template <typename Writes>
bool WriteAtomically(DBConnection& db, std::string_view qualifiedName, Writes&& writes) {
  if (!db.IsOpen()) return false;  // nothing can change; the queries are skipped
  Transaction transaction(db);
  const bool keep = writes();
  if (!db.NoQueryFailed()) {
    LogUnexpectedError(qualifiedName, "a query failed; nothing of the operation was kept");
    return false;
  }
  if (!keep) return false;
  return CommitOperation(transaction, qualifiedName);
}

std::string PacketText(const FString& packet) { return ToNarrow(packet); }

}  // namespace

ShopLogRecord ShopLogFor(const ModComm::PlayerServerInfo& info, const FString& packet, const FString& descr) {
  ShopLogRecord record;
  record.eosId = info.EosId;
  record.packet = packet;
  record.descr = descr;
  record.playerLabel = info.PlayerLabel;
  record.serverName = info.SessionName;
  record.serverid = TandorShop::GameInfo::ServerId();
  record.timestamp = TandorShop::Clock::NowUnix();
  return record;
}

bool buyPacket(const ModComm::PlayerServerInfo& info, int32_t pointsChange, const FString& packet,
               const FString& descr, int32_t amount, const FString& cooldownName, bool setCooldown,
               ShopLogRecord* written) {
  return RunRetried("DBHelper::buyPacket", false, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    ShopLogRecord record = ShopLogFor(info, packet, descr);
    record.newPoints = -1;
    record.amount = amount;
    record.pointsChange = pointsChange;
    record.isBuy = 1;
    const bool committed = WriteAtomically(db, "DBHelper::buyPacket", [&] {
      addPlayerPointsLater(db, pointsChange, now, info.EosId);
      if (setCooldown) updatePlayerPacketCd(db, info.EosId, cooldownName, now);
      record.newPoints = selectPlayerPoints(db, info.EosId).points;
      insertShopLog(db, record);
      return true;
    });
    db.Finish();
    if (committed && written != nullptr) *written = record;
    return committed;
  });
}

bool sellItems(const ModComm::PlayerServerInfo& info, const FString& itemName, const FString& descr,
               int32_t pricePerItem, int32_t pointsEarned, ShopLogRecord* written, const std::string& opId,
               bool* unknown) {
  const std::string id = opId.empty() ? NewOperationId() : opId;
  const CommitOutcome outcome = RunRetried("DBHelper::sellItems", CommitOutcome::NotCommitted, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    ShopLogRecord record = ShopLogFor(info, itemName, descr);
    record.newPoints = -1;
    record.amount = pricePerItem > 0 ? pointsEarned / pricePerItem : 0;
    record.pointsChange = pointsEarned;
    record.isSell = 1;
    if (!db.IsOpen()) return CommitOutcome::NotCommitted;
    Transaction transaction(db);
    // The id, the credit (making the row when it is missing) and the new balance in
    // one round trip, the log row with the commit.
    RecordOperation(db, id, info.EosId, "sale");
    creditPlayerPointsLater(db, pointsEarned, now, info.EosId);
    record.newPoints = selectPlayerPoints(db, info.EosId).points;
    insertShopLog(db, record);
    if (!db.NoQueryFailed()) {
      LogUnexpectedError("DBHelper::sellItems", "a query failed; nothing of the operation was kept");
      return CommitOutcome::NotCommitted;
    }
    const CommitOutcome committed = CommitIdentified(db, transaction, id, "DBHelper::sellItems");
    db.Finish();
    if (committed == CommitOutcome::Committed && written != nullptr) *written = record;
    return committed;
  });
  if (unknown != nullptr) *unknown = outcome == CommitOutcome::Unknown;
  if (outcome == CommitOutcome::NotCommitted)
    LogLostWrite("DBHelper::sellItems", ToNarrow(info.EosId),
                 fmt::format("{} points for selling {} not credited", pointsEarned, PacketText(itemName)));
  return outcome == CommitOutcome::Committed;
}

ChargeResult chargePurchase(const ModComm::PlayerServerInfo& info, int32_t charge, const FString& packet,
                            const FString& descr, int32_t amount, const FString& cooldownName,
                            int32_t playerCooldownSeconds, ShopLogRecord& written, CooldownBefore& before,
                            const std::string& opId) {
  const ChargeResult result = RunRetried("DBHelper::chargePurchase", ChargeResult::Failed, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    written = ShopLogFor(info, packet, descr);
    written.timestamp = now;  // the time the cooldown was checked and written, to the second
    written.amount = amount;
    written.pointsChange = -static_cast<int64_t>(charge);
    written.isBuy = 1;
    before = {};
    if (!db.IsOpen()) return ChargeResult::Failed;
    const bool keyed = playerCooldownSeconds >= 1 && !cooldownName.IsEmpty();
    Transaction transaction(db);
    // One round trip: the id, the player's cooldown, the take (only when the
    // balance covers it) and the new balance; the rest goes with the commit.
    RecordOperation(db, opId, info.EosId, "charge");
    const LaterOutcome cooldown = keyed ? selectPlayerPacketCdLater(db, info.EosId, cooldownName) : nullptr;
    const LaterOutcome spent = spendPlayerPointsLater(db, charge, now, info.EosId);
    written.newPoints = selectPlayerPoints(db, info.EosId).points;
    if (!db.NoQueryFailed()) return ChargeResult::Failed;
    const int64_t lastUse = keyed ? FirstNumber(cooldown, 0) : 0;
    if (keyed && lastUse + playerCooldownSeconds > now) return ChargeResult::OnCooldown;  // the take is rolled back
    if (MatchedRows(spent) != 1u) return ChargeResult::TooFewPoints;
    if (keyed) {
      before = {cooldownName, lastUse};
      updatePlayerPacketCd(db, info.EosId, cooldownName, now);
    }
    insertShopLog(db, written);
    // What the purchase owes until its goods arrived.
    Settlement owed;
    owed.opId = opId;
    owed.serverId = written.serverid;
    owed.eosId = info.EosId;
    owed.kind = SettlementKind::Purchase;
    owed.packet = packet;
    owed.logTimestamp = written.timestamp;
    owed.units = amount;
    owed.points = charge;
    owed.cooldownName = keyed ? cooldownName : FString();
    owed.cooldownBefore = lastUse;
    owed.cooldownSet = now;
    owed.created = now;
    insertSettlement(db, owed);
    if (!db.NoQueryFailed()) {
      LogUnexpectedError("DBHelper::chargePurchase", "a query failed; nothing of the operation was kept");
      return ChargeResult::Failed;
    }
    switch (CommitIdentified(db, transaction, opId, "DBHelper::chargePurchase")) {
      case CommitOutcome::Committed: return ChargeResult::Charged;
      case CommitOutcome::NotCommitted: return ChargeResult::Failed;
      case CommitOutcome::Unknown: return ChargeResult::Unknown;
    }
    return ChargeResult::Failed;
  });
  if (result == ChargeResult::Failed)
    LogLostWrite("DBHelper::chargePurchase", ToNarrow(info.EosId),
                 fmt::format("{} points for {} x '{}' not charged; nothing was delivered", charge, amount,
                             PacketText(packet)));
  return result;
}

}  // namespace DBHelper
