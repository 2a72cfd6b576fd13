#include "db/MigrationSteps.h"

namespace DBHelper {
namespace {

const std::vector<TableMigration> kMigrations = {
    {"player_chars",
     "eosId,charName,tribeName",
     {"MODIFY eosId VARCHAR(47) NOT NULL DEFAULT ''", "MODIFY charName VARCHAR(127) NOT NULL DEFAULT ''",
      "MODIFY tribeName VARCHAR(127) NOT NULL DEFAULT ''", "ADD PRIMARY KEY(eosId,charName,tribeName)"},
     "INSERT INTO `{0}` (eosId,charName,tribeName,lastLogin,lastLogout,lastServerId) SELECT n.* FROM (SELECT "
     "IFNULL(eosId,''),IFNULL(charName,''),IFNULL(tribeName,''),lastLogin,lastLogout,lastServerId FROM `{0}` WHERE "
     "eosId IS NULL OR charName IS NULL OR tribeName IS NULL ) AS n ON DUPLICATE KEY UPDATE "
     "`{0}`.lastServerId=IF(IFNULL(VALUES(lastLogin),0)>=IFNULL(`{0}`.lastLogin,0),VALUES(lastServerId),`{0}`."
     "lastServerId),`{0}`.lastLogin=GREATEST(IFNULL(`{0}`.lastLogin,0),IFNULL(VALUES(lastLogin),0)),`{0}`.lastLogout="
     "GREATEST(IFNULL(`{0}`.lastLogout,0),IFNULL(VALUES(lastLogout),0))",
     "DELETE FROM `{0}` WHERE eosId IS NULL OR charName IS NULL OR tribeName IS NULL",
     "the latest login and logout kept, with the server of the latest login",
     {}},
    {"player_redeems", "eosId,packetStr", {"ADD PRIMARY KEY(eosId,packetStr)"}, {}, {}, {}, {}},
    {"player_cooldowns",
     "eosId,packetName",
     {"MODIFY eosId VARCHAR(47) NOT NULL DEFAULT ''", "MODIFY packetName VARCHAR(255) NOT NULL DEFAULT ''",
      "ADD PRIMARY KEY(eosId,packetName)"},
     "INSERT INTO `{0}` (eosId,packetName,lastUse) SELECT n.* FROM (SELECT IFNULL(eosId,''),IFNULL(packetName,''),"
     "lastUse FROM `{0}` WHERE eosId IS NULL OR packetName IS NULL) AS n ON DUPLICATE KEY UPDATE `{0}`.lastUse="
     "GREATEST(IFNULL(`{0}`.lastUse,0),IFNULL(VALUES(lastUse),0))",
     "DELETE FROM `{0}` WHERE eosId IS NULL OR packetName IS NULL",
     "the latest use kept",
     {}},
    // Every log row is kept, identical ones too (two equal sales in one second are
    // two sales): the key is a new id at the end of the row.
    {"shoplog",
     {},
     {"ADD COLUMN id BIGINT UNSIGNED NOT NULL AUTO_INCREMENT", "ADD PRIMARY KEY(id)"},
     {},
     {},
     {},
     {{"timestamp", "ADD KEY timestamp(timestamp)"}, {"eosIdTime", "ADD KEY eosIdTime(eosId,timestamp)"}}},
    {"tradelog",
     {},
     {"ADD COLUMN id BIGINT UNSIGNED NOT NULL AUTO_INCREMENT", "ADD PRIMARY KEY(id)"},
     {},
     {},
     {},
     {{"timestamp", "ADD KEY timestamp(timestamp)"},
      {"fromTime", "ADD KEY fromTime(eosid_from,timestamp)"},
      {"toTime", "ADD KEY toTime(eosid_to,timestamp)"}}},
};

}  // namespace

std::span<const TableMigration> TableMigrations() { return kMigrations; }

}  // namespace DBHelper
