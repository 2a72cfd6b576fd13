// Queries on the character table.
#include <fmt/format.h>

#include "core/TextConversion.h"
#include "db/ColumnWidths.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {

std::string FittedName(DBConnection& db, const FString& name) {
  return db.Escape(FitColumn(CleanName(name), kCharacterNameChars));
}

// A character logged in after its last recorded logout.
bool LoggedInAfterLogout(uint32_t login, uint32_t logout) { return logout != 0 && login > logout; }

void AddTradeTargetRow(TArray<ModComm::A_TradeTarget>& targets, const mysql::row_view& row) {
  uint32_t login = 0;
  uint32_t logout = 0;
  row.get(3, login);
  row.get(4, logout);
  const std::string& charName = row.text(1);
  if (login == 0 || charName.empty()) return;

  const FString eosId = FromDatabase(row.text(0));
  ModComm::A_TradeTarget* target = targets.FindByPredicate(
      [&](const ModComm::A_TradeTarget& entry) { return entry.EosId.Equals(eosId, true); });
  if (target == nullptr) {
    ModComm::A_TradeTarget fresh;
    fresh.EosId = eosId;
    fresh.LoginAfterLogout = LoggedInAfterLogout(login, logout) ? 1 : 0;
    target = &targets[targets.Add(std::move(fresh))];
  } else if (target->LoginAfterLogout == 0) {
    target->LoginAfterLogout = LoggedInAfterLogout(login, logout) ? 1 : 0;
  }
  target->Names.Add(FString::FromUtf8(fmt::format("{} ({})", charName, row.text(2))));
}

}  // namespace

bool insertPlayerLogin(DBConnection& db, const PointsHandler::PlayerLoginDB& login) {
  return RunQuery(db, "DBHelper::insertPlayerLogin", false, [&] {
    db.Connection().exec(BuildStatement(db, Sql::insertPlayerLogin, db.Escape(ToNarrow(login.EosId)),
                                        FittedName(db, login.CharacterName), FittedName(db, login.TribeName),
                                        login.LoginTime, login.ServerId, login.LoginTime, login.ServerId));
    return true;
  });
}

bool insertPlayerLogout(DBConnection& db, int64_t logoutTime, const FString& eosId) {
  return RunQuery(db, "DBHelper::insertPlayerLogout", false, [&] {
    db.Connection().exec(BuildStatement(db, Sql::insertPlayerLogout, logoutTime, db.Escape(ToNarrow(eosId))));
    return true;
  });
}

bool fixMissedLogouts(DBConnection& db, int64_t serverId) {
  return RunQuery(db, "DBHelper::fixMissedLogouts", false, [&] {
    db.Connection().exec(BuildStatement(db, Sql::fixMissedLogouts, serverId));
    return true;
  });
}

bool clearWrongPlayerData(DBConnection& db, int64_t serverId) {
  return RunQuery(db, "DBHelper::clearWrongPlayerData", false, [&] {
    db.Connection().exec(BuildStatement(db, Sql::clearWrongPlayerData, serverId));
    return true;
  });
}

bool getTradeTargets(DBConnection& db, int32_t spanSeconds, TArray<ModComm::A_TradeTarget>& targets) {
  return RunQuery(db, "DBHelper::getTradeTargets", false, [&] {
    mysql::result rows = db.Connection().query(BuildStatement(db, Sql::getTradeTargets, spanSeconds));
    for (const mysql::row_view row : rows) AddTradeTargetRow(targets, row);
    return true;
  });
}

}  // namespace DBHelper
