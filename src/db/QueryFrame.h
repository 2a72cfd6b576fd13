#pragma once
// The frame every query runs in: skip when the connection is not open, build the
// statement from its text, and turn any failure into a logged default result.
#include <exception>
#include <string>
#include <string_view>

#include <fmt/format.h>

#include "db/Attempts.h"
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
    NoteStatementError(e.error_number());
    if (dynamic_cast<const mysql::commit_unknown*>(&e) != nullptr) NoteCommitSent();
    LogUnexpectedError(e.statement().empty() ? qualifiedName : std::string_view(e.statement()), e.what());
  } catch (const std::exception& e) {
    LogUnexpectedError(qualifiedName, e.what());
  } catch (...) {
    LogUnexpectedError(qualifiedName, "unknown error");
  }
  return fallback;
}

// RunOperation, run again as a whole while a try fails in a way a further try
// can mend (Attempts.h). Only the outermost frame of a thread retries. The body
// must be safe to run again: it makes its connection and its transaction anew,
// and resets what it hands back; its operation id is made before this frame.
template <typename Result, typename Body>
Result RunRetried(std::string_view qualifiedName, Result fallback, Body&& body) noexcept {
  AttemptScope attempts(qualifiedName);
  if (!attempts.Outer()) return RunOperation(qualifiedName, fallback, body);
  for (;;) {
    attempts.Begin();
    Result result = RunOperation(qualifiedName, fallback, body);
    if (!attempts.RunAgain()) return result;
  }
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

// The lines of a commit that failed: the error under the statement it belongs to
// (the operation's when it is the commit's own), then what became of the operation.
inline void LogFailedCommit(const mysql::mysql_exception& e, std::string_view qualifiedName, bool unknown) {
  LogUnexpectedError(e.statement().empty() ? qualifiedName : std::string_view(e.statement()), e.what());
  LogUnexpectedError(qualifiedName, unknown ? "the connection was lost after the commit was sent; the server may "
                                              "have kept the operation"
                                            : "a query failed; nothing of the operation was kept");
}

// Commits the operation's transaction and says what became of it; database
// errors are logged (LogFailedCommit), never thrown.
inline CommitOutcome CommitOperationOutcome(Transaction& transaction, std::string_view qualifiedName) {
  try {
    transaction.Commit();
    return CommitOutcome::Committed;
  } catch (const mysql::commit_unknown& e) {
    LogFailedCommit(e, qualifiedName, true);
    return CommitOutcome::Unknown;
  } catch (const mysql::mysql_exception& e) {
    LogFailedCommit(e, qualifiedName, false);
    return CommitOutcome::NotCommitted;
  } catch (const mysql::mysqlpp_exception& e) {
    LogUnexpectedError(qualifiedName, e.what());  // no connection: nothing was sent
    return CommitOutcome::NotCommitted;
  }
}

// Commits the operation's transaction; true when it committed. When a statement
// sent with the commit failed, it is logged under its own name, then a line
// under the operation's name says that nothing of it was kept, and the answer is
// false. A commit whose outcome is unknown is logged as such and answers false
// too. Other failures of the commit are thrown as before.
inline bool CommitOperation(Transaction& transaction, std::string_view qualifiedName) {
  try {
    transaction.Commit();
    return true;
  } catch (const mysql::commit_unknown& e) {
    LogFailedCommit(e, qualifiedName, true);
    return false;
  } catch (const mysql::mysql_exception& e) {
    if (e.statement().empty()) throw;
    LogFailedCommit(e, qualifiedName, false);
    return false;
  }
}

}  // namespace DBHelper
