// Brings tables made by older versions to today's form: a primary key on every
// table and the indexes the logs are read by. Each step looks at what the table
// is before it changes it, so the migration can run again after a failure, and
// two servers starting at once on one database both come up: the second finds
// the work done, or its ALTER is refused because the first's just landed.
#include "db/Migration.h"

#include <fmt/format.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "db/DBErrorLog.h"
#include "db/MigrationSteps.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {

constexpr const char* kVersionName = "tables";

// A table of the shop as information_schema shows it.
struct TableShape {
  bool exists = false;
  bool hasPrimaryKey = false;
  std::vector<std::string> indexNames;
  std::vector<std::pair<std::string, std::string>> uniqueIndexes;  // name, columns joined by ","
  std::vector<std::string> columns;
};

std::string Quoted(DBConnection& db, const std::string& text) { return "'" + db.Escape(text) + "'"; }

TableShape ReadShape(DBConnection& db, const std::string& table) {
  TableShape shape;
  mysql::connection& sql = db.Connection();
  for (const mysql::row_view row :
       sql.query("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
                 Quoted(db, table) + " ORDER BY ORDINAL_POSITION"))
    shape.columns.push_back(row.text(0));
  shape.exists = !shape.columns.empty();
  for (const mysql::row_view row : sql.query(
           "SELECT INDEX_NAME,MIN(NON_UNIQUE),GROUP_CONCAT(COLUMN_NAME ORDER BY SEQ_IN_INDEX) FROM "
           "information_schema.STATISTICS WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
           Quoted(db, table) + " GROUP BY INDEX_NAME")) {
    const std::string& name = row.text(0);
    shape.indexNames.push_back(name);
    if (name == "PRIMARY") shape.hasPrimaryKey = true;
    else if (row.text(1) == "0") shape.uniqueIndexes.emplace_back(name, row.text(2));
  }
  return shape;
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
  for (const std::string& each : names)
    if (each == name) return true;
  return false;
}

// The clauses of the one ALTER that brings the table to its form; empty when it
// has it already.
std::vector<std::string> MissingClauses(const TableShape& shape, const TableMigration& step) {
  std::vector<std::string> clauses;
  if (!shape.hasPrimaryKey) {
    for (const std::string_view clause : step.primaryKeyClauses) clauses.emplace_back(clause);
    // The old unique key on the same columns is the primary key now.
    for (const auto& [name, columns] : shape.uniqueIndexes)
      if (columns == step.keyColumns) clauses.push_back("DROP INDEX `" + name + "`");
  }
  for (const IndexStep& index : step.indexes)
    if (!Contains(shape.indexNames, index.name)) clauses.emplace_back(index.clause);
  return clauses;
}

std::string Joined(const std::vector<std::string>& clauses) {
  std::string text;
  for (const std::string& clause : clauses) text += (text.empty() ? "" : ",") + clause;
  return text;
}

// Rows whose key holds NULL (the old unique key let several through) merged into
// the row of the same key with empty text in their place, by the table's rule.
uint64_t MergeNullKeys(DBConnection& db, const std::string& table, const TableMigration& step) {
  if (step.mergeNullKeys.empty()) return 0;
  Transaction transaction(db);
  db.Connection().exec(fmt::format(fmt::runtime(step.mergeNullKeys), table));
  const uint64_t merged = db.Connection().exec(fmt::format(fmt::runtime(step.deleteNullKeys), table));
  transaction.Commit();
  return merged;
}

// Errors of an ALTER that another server's migration landed first.
bool RaceLost(unsigned int error) {
  return error == 1060 /* duplicate column */ || error == 1061 /* duplicate key name */ ||
         error == 1068 /* multiple primary key */ || error == 1091 /* cannot drop: not there */;
}

bool IsRefusedRight(unsigned int error) { return error == 1142 || error == 1044 || error == 1045; }

enum class StepResult { Done, Failed };

void LogMerged(const std::string& table, uint64_t merged, const TableMigration& step) {
  if (merged == 0) return;
  TandorShop::Log().warn("Table {}: {} rows whose key held NULL were merged into the row of the same key with empty "
                         "text ({}).",
                         table, merged, step.mergeRule);
}

void LogRefused(const std::string& table, const mysql::mysql_exception& e) {
  if (IsRefusedRight(e.error_number()))
    TandorShop::Log().error("Table {} needs schema version {} and the database account may not change it ({}). Grant "
                            "ALTER and INDEX on the shop's database for one start; the shop works on the old form "
                            "meanwhile.",
                            table, kSchemaVersion, e.what());
  else
    LogUnexpectedError("DBHelper::migrateTables", fmt::format("{}: {}", table, e.what()));
}

// One try: merge what the new key would refuse, then one ALTER for the rest.
void ChangeTable(DBConnection& db, const std::string& table, const TableMigration& step, const TableShape& shape,
                 const std::vector<std::string>& clauses) {
  TandorShop::Log().info("Migrating table {} to schema version {}: {}.", table, kSchemaVersion, Joined(clauses));
  if (!shape.hasPrimaryKey) LogMerged(table, MergeNullKeys(db, table, step), step);
  db.Connection().exec("ALTER TABLE `" + table + "` " + Joined(clauses));
}

// Another server migrating the same table at once makes a try fail (its ALTER
// landed first, or the two merges met): what the table is then decides.
StepResult MigrateTable(DBConnection& db, const TableMigration& step) {
  constexpr int kTries = 3;
  const std::string table = db.Prefix() + "_" + std::string(step.table);
  for (int attempt = 1;; ++attempt) {
    const TableShape shape = ReadShape(db, table);
    if (!shape.exists) return StepResult::Done;  // its creation failed and was reported
    const std::vector<std::string> clauses = MissingClauses(shape, step);
    if (clauses.empty()) return StepResult::Done;
    try {
      ChangeTable(db, table, step, shape, clauses);
      return StepResult::Done;
    } catch (const mysql::mysql_exception& e) {
      const bool raced = RaceLost(e.error_number()) || e.error_number() == 1213 || e.error_number() == 1205;
      if (!raced || attempt == kTries) {
        LogRefused(table, e);
        return StepResult::Failed;
      }
    }
  }
}

int ReadVersion(DBConnection& db) {
  mysql::result rows = db.Connection().query(
      fmt::format("SELECT version FROM `{}_schema` WHERE name='{}'", db.Prefix(), kVersionName));
  int version = 0;
  if (rows.row_count() > 0) rows[0].get(0, version);
  return version;
}

void RecordVersion(DBConnection& db, int64_t now) {
  db.Connection().exec(fmt::format("INSERT INTO `{}_schema` (name,version,updated) VALUES ('{}',{},{}) ON DUPLICATE "
                                   "KEY UPDATE updated=IF(version<VALUES(version),VALUES(updated),updated),"
                                   "version=GREATEST(version,VALUES(version))",
                                   db.Prefix(), kVersionName, kSchemaVersion, now));
}

}  // namespace

MigrationResult MigrateTables(DBConnection& db, int64_t now) {
  return RunOperation("DBHelper::migrateTables", MigrationResult::Failed, [&] {
    if (!db.IsOpen()) return MigrationResult::Failed;
    const int version = ReadVersion(db);
    if (version == kSchemaVersion) return MigrationResult::Current;
    if (version > kSchemaVersion) {
      TandorShop::Log().warn("The shop's tables are of schema version {}, newer than this plugin's {}: they are used "
                             "as they are.",
                             version, kSchemaVersion);
      return MigrationResult::Newer;
    }
    bool complete = true;
    for (const TableMigration& step : TableMigrations())
      complete = MigrateTable(db, step) == StepResult::Done && complete;
    if (!complete) return MigrationResult::Failed;
    RecordVersion(db, now);
    TandorShop::Log().info("The shop's tables are at schema version {}.", kSchemaVersion);
    return MigrationResult::Migrated;
  });
}

}  // namespace DBHelper
