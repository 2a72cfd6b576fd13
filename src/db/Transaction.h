#pragma once
// One InnoDB transaction on an operation's connection. Rolled back when it ends
// without a successful Commit. While it is open the connection does not
// reconnect, so a lost connection can only abort it, never split it.
#include "db/Attempts.h"
#include "db/DBConnection.h"

namespace DBHelper {

// What became of a transaction's commit.
enum class CommitOutcome {
  Committed,
  // It failed before the COMMIT went out, or the server refused it: nothing of
  // the transaction was kept.
  NotCommitted,
  // The connection was lost after the COMMIT went out: the server may have kept
  // it. Only the database can tell (on a new connection: DBConnection::Reopen).
  Unknown
};

class Transaction {
 public:
  // Starts the transaction; throws what the client library reports.
  explicit Transaction(DBConnection& db) : db_(db) { db_.Connection().begin_transaction(); }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction() {
    if (!done_) db_.Connection().rollback();
  }

  // Throws when the server did not commit; the transaction is rolled back then.
  // mysql::commit_unknown when the connection was lost after the COMMIT went out.
  void Commit() {
    done_ = true;
    try {
      db_.Connection().commit();
    } catch (const mysql::commit_unknown&) {
      NoteCommitSent();
      throw;
    } catch (const mysql::mysql_exception& e) {
      NoteStatementError(e.error_number());  // refused: nothing was kept
      throw;
    }
    NoteCommitSent();
  }

 private:
  DBConnection& db_;
  bool done_ = false;
};

}  // namespace DBHelper
