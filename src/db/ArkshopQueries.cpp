// Reading an Arkshop points table and writing its rows into the points table.
#include <algorithm>

#include "db/DBQueries.h"
#include "db/QueryFrame.h"

namespace DBHelper {
namespace {

constexpr std::size_t kRowsPerStatement = 100;

std::string BuildArkshopBatch(DBConnection& db, const std::vector<ArkshopPoints>& entries, std::size_t first,
                              std::size_t count, int64_t now) {
  std::string statement = BuildStatement(db, Sql::insertArkshopDataHead);
  const std::string& tuple = StatementText(Sql::insertArkshopDataTuple);
  for (std::size_t i = first; i < first + count; ++i)
    statement += fmt::format(fmt::runtime(tuple), db.Escape(entries[i].eosId), entries[i].points, now);
  statement.pop_back();  // the last tuple's comma
  statement += StatementText(Sql::insertArkshopDataTail);
  statement += ';';
  return statement;
}

}  // namespace

bool selectArkshopPlayerData(DBConnection& source, const std::string& quotedTable,
                             std::vector<ArkshopPoints>& entries) {
  return RunQuery(source, "DBHelper::selectArkshopPlayerData", false, [&] {
    mysql::result rows = source.Connection().query(
        fmt::format(fmt::runtime(StatementText(Sql::selectArkshopPlayerData)), quotedTable));
    for (const mysql::row_view row : rows) {
      ArkshopPoints entry;
      entry.eosId = row.text(0);
      row.get(1, entry.points);
      entries.push_back(std::move(entry));
    }
    return true;
  });
}

ArkshopWrite insertArkshopData(DBConnection& target, const std::vector<ArkshopPoints>& entries, int64_t now) {
  ArkshopWrite written;
  for (std::size_t first = 0; first < entries.size(); first += kRowsPerStatement) {
    const std::size_t count = std::min(kRowsPerStatement, entries.size() - first);
    const bool sent = RunQuery(target, "DBHelper::insertArkshopData", false, [&] {
      target.Connection().exec(BuildArkshopBatch(target, entries, first, count, now));
      return true;
    });
    if (!sent) return written;
    written.rowsWritten += count;
    ++written.statements;
  }
  written.complete = true;
  return written;
}

}  // namespace DBHelper
