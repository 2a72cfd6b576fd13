// Reading the shop and trade logs, and writing a trade log row on its own.
#include "db/DBHelper.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {

void recordTrade(const TradeLogRecord& record) {
  RunRetried("DBHelper::recordTrade", 0, [&] {
    DBConnection db(Settings());
    insertTradeLog(db, record);
    db.Finish();
    return 0;
  });
}

void loadShopLog(TArray<ModComm::A_ShopLogEntry>& entries, const FString& eosId) {
  RunRetried("DBHelper::loadShopLog", 0, [&] {
    DBConnection db(Settings());
    selectShopLogForPlayer(db, eosId, entries);
    db.Finish();
    return 0;
  });
}

void loadTradeLog(TArray<ModComm::A_TradeLogEntry>& entries, const FString& eosId) {
  RunRetried("DBHelper::loadTradeLog", 0, [&] {
    DBConnection db(Settings());
    selectTradeLogForPlayer(db, eosId, entries);
    db.Finish();
    return 0;
  });
}

}  // namespace DBHelper
