// Creation of the tables: the six of the shop, and the operation ids and settlements that keep it exact.
#include "db/DBConnection.h"
#include "db/DBErrorLog.h"
#include "db/DBHelper.h"
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

}  // namespace

void createTables() {
  RunOperation("DBHelper::createTables", 0, [] {
    DBConnection db(Settings());
    for (const TableCreation& table : kTables) CreateTable(db, table);
    db.Finish();
    return 0;
  });
}

}  // namespace DBHelper
