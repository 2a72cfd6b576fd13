// The database side of a purchase and of a sale.
#include "core/Clock.h"
#include "core/GameInfo.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"
#include "db/Transaction.h"
#include "notify/DiscordHelper.h"

namespace DBHelper {
namespace {

// Runs the writes of a purchase or a sale as one transaction: a failed query
// (logged under its name) rolls back the points change with the rest, so the
// balance never moves without its log row.
template <typename Writes>
void WriteAtomically(DBConnection& db, std::string_view qualifiedName, Writes&& writes) {
  if (!db.IsOpen()) return;  // nothing can change; the queries are skipped
  Transaction transaction(db);
  writes();
  if (db.NoQueryFailed())
    transaction.Commit();
  else
    LogUnexpectedError(qualifiedName, "a query failed; nothing of the operation was kept");
}

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
    WriteAtomically(db, "DBHelper::buyPacket", [&] {
      addPlayerPoints(db, pointsChange, now, info.EosId);
      if (setCooldown) updatePlayerPacketCd(db, info.EosId, cooldownName, now);
      record.newPoints = selectPlayerPoints(db, info.EosId).points;
      insertShopLog(db, record);
    });
    db.Finish();
    DiscordHelper::sendBuy(record);
    return 0;
  });
}

void sellItems(const ModComm::PlayerServerInfo& info, const FString& itemName, const FString& descr,
               int32_t pricePerItem, int32_t pointsEarned) {
  RunOperation("DBHelper::sellItems", 0, [&] {
    const int64_t now = TandorShop::Clock::NowUnix();
    DBConnection db(Settings());
    ShopLogRecord record = ShopLogFor(info, itemName, descr);
    record.newPoints = -1;
    record.amount = pricePerItem > 0 ? pointsEarned / pricePerItem : 0;
    record.pointsChange = pointsEarned;
    record.isSell = 1;
    WriteAtomically(db, "DBHelper::sellItems", [&] {
      addPlayerPoints(db, pointsEarned, now, info.EosId);
      record.newPoints = selectPlayerPoints(db, info.EosId).points;
      insertShopLog(db, record);
    });
    db.Finish();
    DiscordHelper::sendSell(record);
    return 0;
  });
}

}  // namespace DBHelper
