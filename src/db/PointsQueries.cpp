// Queries on the points table.
#include "core/TextConversion.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {

PlayerPointsRow selectPlayerPoints(DBConnection& db, const FString& eosId) {
  return RunQuery(db, "DBHelper::selectPlayerPoints", PlayerPointsRow{}, [&] {
    PlayerPointsRow row;
    mysql::result rows =
        db.Connection().query(BuildStatement(db, Sql::selectPlayerPoints, db.Escape(ToNarrow(eosId))));
    if (!rows.has_rows()) return row;
    const mysql::row_view first = rows[0];
    first.get(0, row.secondsWithoutReward);
    first.get(1, row.points);
    return row;
  });
}

bool addNewPlayer(DBConnection& db, const FString& eosId, int64_t now) {
  return RunQuery(db, "DBHelper::addNewPlayer", false, [&] {
    db.Connection().exec(BuildStatement(db, Sql::addNewPlayer, db.Escape(ToNarrow(eosId)), now));
    return true;
  });
}

uint64_t addPlayerPoints(DBConnection& db, int32_t amount, int64_t now, const FString& eosId) {
  return RunQuery(db, "DBHelper::addPlayerPoints", uint64_t{0}, [&] {
    return db.Connection().exec(BuildStatement(db, Sql::addPlayerPoints, amount, now, db.Escape(ToNarrow(eosId))));
  });
}

uint64_t spendPlayerPoints(DBConnection& db, int32_t amount, int64_t now, const FString& eosId) {
  return RunQuery(db, "DBHelper::spendPlayerPoints", uint64_t{0}, [&] {
    return db.Connection().exec(
        BuildStatement(db, Sql::spendPlayerPoints, amount, now, db.Escape(ToNarrow(eosId)), amount));
  });
}

LaterOutcome addPlayerPointsLater(DBConnection& db, int32_t amount, int64_t now, const FString& eosId) {
  return RunQuery(db, "DBHelper::addPlayerPoints", LaterOutcome{}, [&] {
    return db.Later("DBHelper::addPlayerPoints",
                    BuildStatement(db, Sql::addPlayerPoints, amount, now, db.Escape(ToNarrow(eosId))));
  });
}

LaterOutcome creditPlayerPointsLater(DBConnection& db, int32_t amount, int64_t now, const FString& eosId) {
  return RunQuery(db, "DBHelper::addPlayerPoints", LaterOutcome{}, [&] {
    return db.Later("DBHelper::addPlayerPoints", BuildStatement(db, Sql::creditPlayerPoints,
                                                                db.Escape(ToNarrow(eosId)), amount, now, amount, now));
  });
}

LaterOutcome spendPlayerPointsLater(DBConnection& db, int32_t amount, int64_t now, const FString& eosId) {
  return RunQuery(db, "DBHelper::spendPlayerPoints", LaterOutcome{}, [&] {
    return db.Later("DBHelper::spendPlayerPoints",
                    BuildStatement(db, Sql::spendPlayerPoints, amount, now, db.Escape(ToNarrow(eosId)), amount));
  });
}

uint64_t setPlayerPoints(DBConnection& db, int32_t points, int64_t now, const FString& eosId) {
  return RunQuery(db, "DBHelper::setPlayerPoints", uint64_t{0}, [&] {
    return db.Connection().exec(BuildStatement(db, Sql::setPlayerPoints, points, now, db.Escape(ToNarrow(eosId))));
  });
}

std::optional<uint64_t> resetPlayerPoints(DBConnection& db, int batchRows) {
  return RunQuery(db, "DBHelper::resetPlayerPoints", std::optional<uint64_t>{}, [&] {
    return std::optional<uint64_t>{db.Connection().exec(BuildStatement(db, Sql::resetPlayerPoints, batchRows))};
  });
}

bool updateSecondsWithoutReward(DBConnection& db, int32_t seconds, int64_t now, const FString& eosId) {
  return RunQuery(db, "DBHelper::updateSecondsWithoutReward", false, [&] {
    db.Connection().exec(
        BuildStatement(db, Sql::updateSecondsWithoutReward, seconds, now, db.Escape(ToNarrow(eosId))));
    return true;
  });
}

}  // namespace DBHelper
