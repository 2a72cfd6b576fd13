// Queries on what operations still owe until their goods arrived.
#include "core/TextConversion.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {

bool insertSettlement(DBConnection& db, const Settlement& owed) {
  return RunQuery(db, "DBHelper::insertSettlement", false, [&] {
    db.Later("DBHelper::insertSettlement",
             BuildStatement(db, Sql::insertSettlement, owed.opId, owed.serverId, db.Escape(ToNarrow(owed.eosId)),
                            static_cast<int>(owed.kind), db.Escape(ToUtf8(owed.packet)), owed.logTimestamp,
                            owed.units, owed.points, owed.isReward ? 1 : 0, db.Escape(ToUtf8(owed.cooldownName)),
                            owed.cooldownBefore, owed.cooldownSet, owed.redeemsLeft, owed.created));
    return true;
  });
}

std::optional<Settlement> lockSettlement(DBConnection& db, const std::string& opId) {
  return RunQuery(db, "DBHelper::lockSettlement", std::optional<Settlement>{}, [&]() -> std::optional<Settlement> {
    mysql::result rows = db.Connection().query(BuildStatement(db, Sql::lockSettlement, db.Escape(opId)));
    std::optional<Settlement> found;
    for (const mysql::row_view row : rows) {
      Settlement owed;
      owed.opId = opId;
      owed.eosId = FromDatabase(row.text(0));
      int kind = 0;
      row.get(1, kind);
      owed.kind = static_cast<SettlementKind>(kind);
      owed.packet = FromDatabase(row.text(2));
      row.get(3, owed.logTimestamp);
      row.get(4, owed.units);
      row.get(5, owed.points);
      int reward = 0;
      row.get(6, reward);
      owed.isReward = reward != 0;
      owed.cooldownName = FromDatabase(row.text(7));
      row.get(8, owed.cooldownBefore);
      row.get(9, owed.cooldownSet);
      row.get(10, owed.redeemsLeft);
      row.get(11, owed.state);
      found = std::move(owed);
    }
    return found;
  });
}

bool deleteSettlement(DBConnection& db, const std::string& opId) {
  return RunQuery(db, "DBHelper::deleteSettlement", false, [&] {
    db.Later("DBHelper::deleteSettlement", BuildStatement(db, Sql::deleteSettlement, db.Escape(opId)));
    return true;
  });
}

bool giveUpSettlement(DBConnection& db, const std::string& opId, const std::string& reason) {
  return RunQuery(db, "DBHelper::giveUpSettlement", false, [&] {
    return db.Connection().exec(BuildStatement(db, Sql::giveUpSettlement, db.Escape(FitColumn(reason, 255)),
                                               db.Escape(opId))) == 1;
  });
}

bool selectLeftoverSettlements(DBConnection& db, int64_t serverId, int64_t before, std::vector<std::string>& opIds) {
  return RunQuery(db, "DBHelper::selectLeftoverSettlements", false, [&] {
    mysql::result rows = db.Connection().query(BuildStatement(db, Sql::selectLeftoverSettlements, serverId, before));
    for (const mysql::row_view row : rows) opIds.emplace_back(row.text(0));
    return true;
  });
}

bool restorePlayerPacketCd(DBConnection& db, const FString& eosId, const FString& packetName, int64_t before,
                           int64_t written) {
  return RunQuery(db, "DBHelper::restorePlayerPacketCd", false, [&] {
    const std::string eos = db.Escape(ToNarrow(eosId));
    const std::string name = db.Escape(ToUtf8(packetName));
    if (before > 0)
      db.Later("DBHelper::restorePlayerPacketCd",
               BuildStatement(db, Sql::restorePlayerPacketCd, before, eos, name, written));
    else
      db.Later("DBHelper::restorePlayerPacketCd",
               BuildStatement(db, Sql::deletePlayerPacketCdIfUnchanged, eos, name, written));
    return true;
  });
}

}  // namespace DBHelper
