// The database side of a purchase and of a sale.
#include "core/Clock.h"
#include "core/GameInfo.h"
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"
#include "notify/DiscordHelper.h"

namespace DBHelper {

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
    addPlayerPoints(db, pointsChange, now, info.EosId);
    if (setCooldown) updatePlayerPacketCd(db, info.EosId, cooldownName, now);
    ShopLogRecord record = ShopLogFor(info, packet, descr);
    record.newPoints = selectPlayerPoints(db, info.EosId).points;
    record.amount = amount;
    record.pointsChange = pointsChange;
    record.isBuy = 1;
    insertShopLog(db, record);
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
    addPlayerPoints(db, pointsEarned, now, info.EosId);
    ShopLogRecord record = ShopLogFor(info, itemName, descr);
    record.newPoints = selectPlayerPoints(db, info.EosId).points;
    record.amount = pricePerItem > 0 ? pointsEarned / pricePerItem : 0;
    record.pointsChange = pointsEarned;
    record.isSell = 1;
    insertShopLog(db, record);
    db.Finish();
    DiscordHelper::sendSell(record);
    return 0;
  });
}

}  // namespace DBHelper
