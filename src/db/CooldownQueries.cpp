// Queries on the per-player cooldown table.
#include "core/TextConversion.h"
#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {

bool getPlayerCds(DBConnection& db, const FString& eosId, TArray<ModComm::PlayerPacketCooldown>& cooldowns) {
  return RunQuery(db, "DBHelper::getPlayerCds", false, [&] {
    mysql::result rows = db.Connection().query(BuildStatement(db, Sql::getPlayerCds, db.Escape(ToNarrow(eosId))));
    for (const mysql::row_view row : rows) {
      ModComm::PlayerPacketCooldown cooldown;
      cooldown.PacketName = FromDatabase(row.text(0));
      row.get(1, cooldown.LastUse);
      cooldowns.Add(std::move(cooldown));
    }
    return true;
  });
}

bool updatePlayerPacketCd(DBConnection& db, const FString& eosId, const FString& packetName, int64_t now) {
  return RunQuery(db, "DBHelper::updatePlayerPacketCd", false, [&] {
    db.Later("DBHelper::updatePlayerPacketCd", BuildStatement(db, Sql::updatePlayerPacketCd, db.Escape(ToNarrow(eosId)),
                                                              db.Escape(ToUtf8(packetName)), now, now));
    return true;
  });
}

bool deletePlayerPacketCd(DBConnection& db, const FString& eosId, const FString& packetName) {
  return RunQuery(db, "DBHelper::deletePlayerPacketCd", false, [&] {
    db.Later("DBHelper::deletePlayerPacketCd", BuildStatement(db, Sql::deletePlayerPacketCd, db.Escape(ToNarrow(eosId)),
                                                              db.Escape(ToUtf8(packetName))));
    return true;
  });
}

LaterOutcome selectPlayerPacketCdLater(DBConnection& db, const FString& eosId, const FString& packetName) {
  return RunQuery(db, "DBHelper::selectPlayerPacketCd", LaterOutcome{}, [&] {
    return db.Later("DBHelper::selectPlayerPacketCd", BuildStatement(db, Sql::getPlayerPacketCd,
                                                                     db.Escape(ToNarrow(eosId)),
                                                                     db.Escape(ToUtf8(packetName))));
  });
}

bool clearOldPlayerCooldowns(DBConnection& db, const FString& packetName, int32_t olderThanSeconds) {
  return RunQuery(db, "DBHelper::clearOldPlayerCooldowns", false, [&] {
    db.Connection().exec(BuildStatement(db, Sql::clearOldPlayerCooldownsNamed, db.Escape(ToUtf8(packetName)),
                                        olderThanSeconds));
    return true;
  });
}

}  // namespace DBHelper
