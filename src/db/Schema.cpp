// Creation of the tables: the six of the shop, the operation ids and settlements
// that keep it exact, and the version of their form; then the migration of
// tables an older version made.
#include "core/Clock.h"
#include "db/DBConnection.h"
#include "db/DBErrorLog.h"
#include "db/DBHelper.h"
#include "db/Migration.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {

struct TableCreation {
  Sql statement;
  const char* qualifiedName;
  const char* failure;
};

constexpr TableCreation kTables[] = {
    {Sql::createPlayerPointsTable, "DBHelper::createPlayerPointsTable", "Failed to create PlayerPointsTable table!"},
    {Sql::createPlayerCharsTable, "DBHelper::createPlayerCharsTable", "Failed to create PlayerCharsTable table!"},
    {Sql::createPlayerRedeemTable, "DBHelper::createPlayerRedeemTable", "Failed to create PlayerRedeemTable table!"},
    {Sql::createShopLogTable, "DBHelper::createShopLogTable", "Failed to create ShopLog table!"},
    {Sql::createTradeLogTable, "DBHelper::createTradeLogTable", "Failed to create TradeLog table!"},
    {Sql::createPlayerCooldownTable, "DBHelper::createPlayerCooldownTable",
     "Failed to create PlayerCooldownTable table!"},
    {Sql::createSchemaTable, "DBHelper::createSchemaTable", "Failed to create Schema table!"},
    {Sql::createOperationsTable, "DBHelper::createOperationsTable", "Failed to create Operations table!"},
    {Sql::createSettlementsTable, "DBHelper::createSettlementsTable", "Failed to create Settlements table!"},
};

// A table that could not be created is reported and the next one is tried.
void CreateTable(DBConnection& db, const TableCreation& table) {
  try {
    if (db.IsOpen()) {
      db.Connection().exec(BuildStatement(db, table.statement));
      return;
    }
  } catch (const std::exception&) {
  }
  LogTableCreationFailure(table.qualifiedName, table.failure);
}

// A migration rebuilds tables, which takes minutes on a big log: its connection
// waits that long for an answer (it runs once, at load, before any player).
constexpr unsigned int kMigrationTimeoutSeconds = 900;

DBSettings MigrationSettings() {
  DBSettings settings = Settings();
  settings.gameThreadTimeoutSeconds = kMigrationTimeoutSeconds;
  settings.workerTimeoutSeconds = kMigrationTimeoutSeconds;
  return settings;
}

}  // namespace

void createTables() {
  RunOperation("DBHelper::createTables", 0, [] {
    DBConnection db(MigrationSettings());
    for (const TableCreation& table : kTables) CreateTable(db, table);
    MigrateTables(db, TandorShop::Clock::NowUnix());
    db.Finish();
    return 0;
  });
}

}  // namespace DBHelper
