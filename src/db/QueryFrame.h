#pragma once
// The frame every query runs in: skip when the connection is not open, build the
// statement from its text, and turn any failure into a logged default result.
#include <exception>
#include <string>
#include <string_view>

#include <fmt/format.h>

#include "db/DBConnection.h"
#include "db/DBErrorLog.h"
#include "db/Statements.h"
#include "db/Transaction.h"

namespace DBHelper {

// The statement's text with the table prefix and then the values formatted in.
template <typename... Values>
std::string BuildStatement(const DBConnection& db, Sql statement, const Values&... values) {
  return fmt::format(fmt::runtime(StatementText(statement)), db.Prefix(), values...);
}

// The outer guard of an operation: whatever escapes its queries is logged and
// turns into the operation's default, so nothing reaches a worker or the host.
// A statement that was sent with others and failed is logged under its own name.
template <typename Result, typename Body>
Result RunOperation(std::string_view qualifiedName, Result fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (const mysql::mysql_exception& e) {
    LogUnexpectedError(e.statement().empty() ? qualifiedName : std::string_view(e.statement()), e.what());
  } catch (const std::exception& e) {
    LogUnexpectedError(qualifiedName, e.what());
  } catch (...) {
    LogUnexpectedError(qualifiedName, "unknown error");
  }
  return fallback;
}

// The frame of one query: skipped on a closed connection, failures logged under
// the query's name and turned into its default. Both count as failed queries of
// the connection's operation.
template <typename Result, typename Body>
Result RunQuery(DBConnection& db, std::string_view qualifiedName, Result fallback, Body&& body) noexcept {
  bool ran = false;
  Result result = RunOperation(qualifiedName, fallback, [&]() -> Result {
    if (!db.IsOpen()) return fallback;
    Result out = body();
    ran = true;
    return out;
  });
  if (!ran) db.NoteFailedQuery();
  return result;
}

// Commits the operation's transaction. When a statement sent with the commit
// failed, it is logged under its own name, then a line under the operation's
// name says that nothing of it was kept, and the answer is false. Other failures
// of the commit are thrown as before.
inline bool CommitOperation(Transaction& transaction, std::string_view qualifiedName) {
  try {
    transaction.Commit();
    return true;
  } catch (const mysql::mysql_exception& e) {
    if (e.statement().empty()) throw;
    LogUnexpectedError(e.statement(), e.what());
    LogUnexpectedError(qualifiedName, "a query failed; nothing of the operation was kept");
    return false;
  }
}

}  // namespace DBHelper
