// The database side of a purchase and of a sale.
#include <fmt/format.h>

#include "core/Clock.h"
#include "core/GameInfo.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"
#include "db/TextConversion.h"
#include "db/Transaction.h"
#include "notify/DiscordHelper.h"

namespace DBHelper {
namespace {

// Runs the writes of a purchase or a sale as one transaction: a failed query
// (logged under its name) rolls back the points change with the rest, so the
// balance never moves without its log row.
// True when it committed.
template <typename Writes>
bool WriteAtomically(DBConnection& db, std::string_view qualifiedName, Writes&& writes) {
  if (!db.IsOpen()) return false;  // nothing can change; the queries are skipped
  Transaction transaction(db);
  writes();
  if (!db.NoQueryFailed()) {
    LogUnexpectedError(qualifiedName, "a query failed; nothing of the operation was kept");
    return false;
  }
  transaction.Commit();
  return true;
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

void buyPacket(const ModComm::PlayerServerInfo& info, int32_t pointsChange, const FString& packet,
               const FString& descr, int32_t amount, const FString& cooldownName, bool setCooldown) {
  RunOperation("DBHelper::buyPacket", 0, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    ShopLogRecord record = ShopLogFor(info, packet, descr);
    record.newPoints = -1;
    record.amount = amount;
    record.pointsChange = pointsChange;
    record.isBuy = 1;
    const bool committed = WriteAtomically(db, "DBHelper::buyPacket", [&] {
      addPlayerPoints(db, pointsChange, now, info.EosId);
      if (setCooldown) updatePlayerPacketCd(db, info.EosId, cooldownName, now);
      record.newPoints = selectPlayerPoints(db, info.EosId).points;
      insertShopLog(db, record);
    });
    db.Finish();
    if (committed) DiscordHelper::sendBuy(record);
    return 0;
  });
}

bool sellItems(const ModComm::PlayerServerInfo& info, const FString& itemName, const FString& descr,
               int32_t pricePerItem, int32_t pointsEarned) {
  const bool credited = RunOperation("DBHelper::sellItems", false, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    ShopLogRecord record = ShopLogFor(info, itemName, descr);
    record.newPoints = -1;
    record.amount = pricePerItem > 0 ? pointsEarned / pricePerItem : 0;
    record.pointsChange = pointsEarned;
    record.isSell = 1;
    const bool committed = WriteAtomically(db, "DBHelper::sellItems", [&] {
      if (addPlayerPoints(db, pointsEarned, now, info.EosId) == 0) db.NoteFailedQuery();  // no row to credit
      record.newPoints = selectPlayerPoints(db, info.EosId).points;
      insertShopLog(db, record);
    });
    db.Finish();
    if (committed) DiscordHelper::sendSell(record);
    return committed;
  });
  if (!credited)
    LogLostWrite("DBHelper::sellItems", ToNarrow(info.EosId),
                 fmt::format("{} points for selling {} not credited", pointsEarned, PacketText(itemName)));
  return credited;
}

ChargeResult chargePurchase(const ModComm::PlayerServerInfo& info, int32_t charge, const FString& packet,
                            const FString& descr, int32_t amount, const FString& cooldownName, bool setCooldown,
                            ShopLogRecord& written) {
  const ChargeResult result = RunOperation("DBHelper::chargePurchase", ChargeResult::Failed, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    written = ShopLogFor(info, packet, descr);
    written.amount = amount;
    written.pointsChange = -static_cast<int64_t>(charge);
    written.isBuy = 1;
    bool covered = true;
    const bool committed = WriteAtomically(db, "DBHelper::chargePurchase", [&] {
      covered = spendPlayerPoints(db, charge, now, info.EosId) == 1;
      if (!covered) return;
      if (setCooldown) updatePlayerPacketCd(db, info.EosId, cooldownName, now);
      written.newPoints = selectPlayerPoints(db, info.EosId).points;
      insertShopLog(db, written);
    });
    const bool answered = db.NoQueryFailed();
    db.Finish();
    if (committed && covered) return ChargeResult::Charged;
    return answered ? ChargeResult::TooFewPoints : ChargeResult::Failed;
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
      if (addPlayerPoints(db, refund, now, written.eosId) == 0) db.NoteFailedQuery();
      if (!correctShopLog(db, written, corrected))
        LogUnexpectedError("DBHelper::refundPurchase", "the purchase's log row was not found");
      if (delivered > 0 || cooldown.Name.IsEmpty()) return;
      if (cooldown.LastUse > 0)
        updatePlayerPacketCd(db, written.eosId, cooldown.Name, cooldown.LastUse);
      else
        deletePlayerPacketCd(db, written.eosId, cooldown.Name);
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
