// The database side of a purchase and of a sale.
#include <fmt/format.h>

#include "core/Clock.h"
#include "core/GameInfo.h"
#include "core/TextConversion.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
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
  return RunOperation("DBHelper::buyPacket", false, [&] {
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
               int32_t pricePerItem, int32_t pointsEarned, ShopLogRecord* written) {
  const bool credited = RunOperation("DBHelper::sellItems", false, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    ShopLogRecord record = ShopLogFor(info, itemName, descr);
    record.newPoints = -1;
    record.amount = pricePerItem > 0 ? pointsEarned / pricePerItem : 0;
    record.pointsChange = pointsEarned;
    record.isSell = 1;
    const bool committed = WriteAtomically(db, "DBHelper::sellItems", [&] {
      // The credit and the new balance in one round trip, the log row with the commit.
      const LaterOutcome credited = addPlayerPointsLater(db, pointsEarned, now, info.EosId);
      record.newPoints = selectPlayerPoints(db, info.EosId).points;
      if (MatchedRows(credited).value_or(0) == 0) db.NoteFailedQuery();  // no row to credit
      insertShopLog(db, record);
      return true;
    });
    db.Finish();
    if (committed && written != nullptr) *written = record;
    return committed;
  });
  if (!credited)
    LogLostWrite("DBHelper::sellItems", ToNarrow(info.EosId),
                 fmt::format("{} points for selling {} not credited", pointsEarned, PacketText(itemName)));
  return credited;
}

ChargeResult chargePurchase(const ModComm::PlayerServerInfo& info, int32_t charge, const FString& packet,
                            const FString& descr, int32_t amount, const FString& cooldownName,
                            int32_t playerCooldownSeconds, ShopLogRecord& written, CooldownBefore& before) {
  const ChargeResult result = RunOperation("DBHelper::chargePurchase", ChargeResult::Failed, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    written = ShopLogFor(info, packet, descr);
    written.amount = amount;
    written.pointsChange = -static_cast<int64_t>(charge);
    written.isBuy = 1;
    before = {};
    const bool keyed = playerCooldownSeconds >= 1 && !cooldownName.IsEmpty();
    ChargeResult refused = ChargeResult::Failed;  // the answer when nothing committed
    const bool committed = WriteAtomically(db, "DBHelper::chargePurchase", [&] {
      // One round trip: the player's cooldown, the take (only when the balance
      // covers it) and the new balance; the rest goes with the commit.
      const LaterOutcome cooldown = keyed ? selectPlayerPacketCdLater(db, info.EosId, cooldownName) : nullptr;
      const LaterOutcome spent = spendPlayerPointsLater(db, charge, now, info.EosId);
      written.newPoints = selectPlayerPoints(db, info.EosId).points;
      if (!db.NoQueryFailed()) return false;
      const int64_t lastUse = keyed ? FirstNumber(cooldown, 0) : 0;
      if (keyed && lastUse + playerCooldownSeconds > now) {
        refused = ChargeResult::OnCooldown;  // the take is rolled back
        return false;
      }
      if (MatchedRows(spent) != 1u) {
        refused = ChargeResult::TooFewPoints;
        return false;
      }
      if (keyed) {
        before = {cooldownName, lastUse};
        updatePlayerPacketCd(db, info.EosId, cooldownName, now);
      }
      insertShopLog(db, written);
      return true;
    });
    db.Finish();
    return committed ? ChargeResult::Charged : refused;
  });
  if (result == ChargeResult::Failed)
    LogLostWrite("DBHelper::chargePurchase", ToNarrow(info.EosId),
                 fmt::format("{} points for {} x '{}' not charged; nothing was delivered", charge, amount,
                             PacketText(packet)));
  return result;
}

bool refundPurchase(const ShopLogRecord& written, int32_t delivered, int32_t refund,
                    const CooldownBefore& cooldown) {
  const bool refunded = RunOperation("DBHelper::refundPurchase", false, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    ShopLogRecord corrected = written;
    corrected.amount = delivered;
    corrected.pointsChange = written.pointsChange + refund;
    const bool committed = WriteAtomically(db, "DBHelper::refundPurchase", [&] {
      const LaterOutcome credited = addPlayerPointsLater(db, refund, now, written.eosId);
      if (!correctShopLog(db, written, corrected))
        LogUnexpectedError("DBHelper::refundPurchase", "the purchase's log row was not found");
      if (MatchedRows(credited).value_or(0) == 0) db.NoteFailedQuery();
      if (delivered > 0 || cooldown.Name.IsEmpty()) return true;
      if (cooldown.LastUse > 0)
        updatePlayerPacketCd(db, written.eosId, cooldown.Name, cooldown.LastUse);
      else
        deletePlayerPacketCd(db, written.eosId, cooldown.Name);
      return true;
    });
    db.Finish();
    return committed;
  });
  if (!refunded)
    LogLostWrite("DBHelper::refundPurchase", ToNarrow(written.eosId),
                 fmt::format("{} points for {} undelivered of {} x '{}' not refunded", refund,
                             written.amount - delivered, written.amount, PacketText(written.packet)));
  return refunded;
}

}  // namespace DBHelper
