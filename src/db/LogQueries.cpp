// Queries on the shop log and the trade log.
#include "core/TextConversion.h"
#include "db/ColumnWidths.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {

std::string LogText(DBConnection& db, const FString& text) {
  return db.Escape(FitColumn(ToNarrow(text), kShopLogTextChars));
}

std::string TradeName(DBConnection& db, const FString& name) {
  return db.Escape(FitColumn(CleanName(name), kTradeNameChars));
}

int32_t ShopLogKind(const mysql::row_view& row) {
  int32_t isBuy = 0;
  int32_t isRedeem = 0;
  int32_t isSell = 0;
  row.get(5, isBuy);
  row.get(6, isRedeem);
  row.get(7, isSell);
  if (isBuy > 0) return static_cast<int32_t>(ModComm::ShopLogKind::Buy);
  if (isSell > 0) return static_cast<int32_t>(ModComm::ShopLogKind::Sell);
  if (isRedeem > 0) return static_cast<int32_t>(ModComm::ShopLogKind::Redeem);
  return static_cast<int32_t>(ModComm::ShopLogKind::Buy);
}

}  // namespace

bool insertShopLog(DBConnection& db, const ShopLogRecord& record) {
  return RunQuery(db, "DBHelper::insertShopLog", false, [&] {
    db.Later("DBHelper::insertShopLog",
             BuildStatement(db, Sql::insertShopLog, db.Escape(ToNarrow(record.eosId)), LogText(db, record.packet),
                            LogText(db, record.descr), record.timestamp, record.serverid, record.amount,
                            record.pointsChange, record.newPoints, record.redeemsLeft, record.isBuy, record.isRedeem,
                            record.isSell));
    return true;
  });
}

bool correctShopLog(DBConnection& db, const ShopLogRecord& written, const ShopLogRecord& now) {
  return RunQuery(db, "DBHelper::correctShopLog", false, [&] {
    const std::string eosId = db.Escape(ToNarrow(written.eosId));
    const std::string packet = LogText(db, written.packet);
    const uint64_t rows =
        now.amount == 0
            ? db.Connection().exec(BuildStatement(db, Sql::deleteShopLogRow, eosId, packet, written.timestamp,
                                                  written.amount, written.pointsChange, written.isBuy,
                                                  written.isRedeem))
            : db.Connection().exec(BuildStatement(db, Sql::adjustShopLogRow, now.amount, now.pointsChange,
                                                  now.pointsChange - written.pointsChange, now.redeemsLeft, eosId,
                                                  packet, written.timestamp, written.amount, written.pointsChange,
                                                  written.isBuy, written.isRedeem));
    return rows == 1;
  });
}

bool selectShopLogForPlayer(DBConnection& db, const FString& eosId, TArray<ModComm::A_ShopLogEntry>& entries) {
  return RunQuery(db, "DBHelper::selectShopLogForPlayer", false, [&] {
    mysql::result rows =
        db.Connection().query(BuildStatement(db, Sql::selectShopLogForPlayer, db.Escape(ToNarrow(eosId))));
    for (const mysql::row_view row : rows) {
      ModComm::A_ShopLogEntry entry;
      entry.Packet = FromDatabase(row.text(0));
      entry.Description = FromDatabase(row.text(1));
      entry.Kind = ShopLogKind(row);
      row.get(2, entry.Timestamp);
      row.get(3, entry.Amount);
      row.get(4, entry.PointsChange);
      entries.Add(std::move(entry));
    }
    return true;
  });
}

std::string TradeLogStatement(DBConnection& db, const TradeLogRecord& record) {
  return BuildStatement(db, Sql::insertTradeLog, db.Escape(ToNarrow(record.eosIdFrom)),
                        db.Escape(ToNarrow(record.eosIdTo)), TradeName(db, record.fromName),
                        TradeName(db, record.toName), record.timestamp, record.serverid, record.amount,
                        record.pointsAfterFrom, record.pointsAfterTo);
}

bool insertTradeLog(DBConnection& db, const TradeLogRecord& record) {
  return RunQuery(db, "DBHelper::insertTradeLog", false, [&] {
    db.Connection().exec(TradeLogStatement(db, record));
    return true;
  });
}

bool selectTradeLogForPlayer(DBConnection& db, const FString& eosId, TArray<ModComm::A_TradeLogEntry>& entries) {
  return RunQuery(db, "DBHelper::selectTradeLogForPlayer", false, [&] {
    const std::string narrowId = ToNarrow(eosId);
    const std::string escapedId = db.Escape(narrowId);
    mysql::result rows =
        db.Connection().query(BuildStatement(db, Sql::selectTradeLogForPlayer, escapedId, escapedId));
    for (const mysql::row_view row : rows) {
      const bool sent = row.text(0) == narrowId;
      ModComm::A_TradeLogEntry entry;
      entry.PartnerEosId = FromDatabase(row.text(sent ? 1 : 0));
      entry.PartnerName = FString::FromUtf8(row.text(sent ? 3 : 2));
      row.get(4, entry.Timestamp);
      int64_t amount = 0;
      row.get(5, amount);
      entry.Amount = static_cast<int32_t>(sent ? -amount : amount);
      entries.Add(std::move(entry));
    }
    return true;
  });
}

}  // namespace DBHelper
