#pragma once
// The connection one database operation works on, opened from the settings.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "db/DBSettings.h"
#include "db/MysqlConnection.h"

namespace DBHelper {

class DBConnection {
 public:
  explicit DBConnection(const DBSettings& settings);
  DBConnection(const std::string& server, const std::string& username, const std::string& password,
               const std::string& database, const std::string& tablePrefix, uint32_t port);
  DBConnection(const DBConnection&) = delete;
  DBConnection& operator=(const DBConnection&) = delete;
  ~DBConnection();

  // A handle exists (the connection was opened and not closed since).
  bool HasHandle();
  // A handle exists and the server answers (reconnecting when it can). A
  // connection was checked when it was opened or taken and is pinged again only
  // after a failed statement.
  bool IsOpen();
  // Closes the connection when it is still open; the end of every operation. A
  // kept connection stays open for the thread's next operation.
  void Finish();
  // Throws the handle away and connects again with the same settings, as a
  // fresh connection: no failed queries, no transaction, no unknown outcome.
  // What an operation does after its commit outcome became unknown, to ask the
  // database what it kept. True when the new connection is open.
  bool Reopen();
  // The connection was lost after a statement that commits went out (a COMMIT,
  // or a statement outside a transaction): the server may have kept it. Stays
  // set until Reopen. RunQuery logs and swallows the error; this keeps the fact.
  bool CommitOutcomeUnknown() { return connection_->commit_outcome_unknown(); }

  const std::string& Prefix() const { return prefix_; }
  // The settings it was opened with (a settlement follows the database it was made on).
  const DBSettings& Settings() const { return settings_; }
  mysql::connection& Connection() { return *connection_; }

  // A statement whose answer can wait, sent with the next one in one round trip
  // inside a transaction (mysql::connection::exec_later). Null outcome fields
  // until then; run it in the query frame like any other statement.
  std::shared_ptr<const mysql::pending_rows> Later(std::string_view qualifiedName, std::string statement);

  // Text escaped by the client library, for use between quotes in a statement.
  std::string Escape(std::string_view text) { return connection_->escape(text); }

  // Queries of this operation that failed or were skipped on a closed
  // connection; a transaction commits only when there were none.
  void NoteFailedQuery() { ++failedQueries_; }
  bool NoQueryFailed() const { return failedQueries_ == 0; }

 private:
  std::shared_ptr<mysql::connection> connection_;
  DBSettings settings_;
  std::string prefix_;
  bool kept_ = false;
  int failedQueries_ = 0;
};

// How a connection comes back after the server dropped it.
enum class Reconnect {
  // The client library checks the connection before every statement and
  // reconnects on its own (a connection for one operation).
  Automatic,
  // The owner checks and reopens it (a kept connection, checked when taken); no
  // check costs a system call per statement.
  ByOwner
};
// Opens connection with settings, on the first ready node of the server list
// (NodeSelection.h); logs "Failed to open connection!" when no node is usable.
// Its timeouts are those of the thread it is opened on (DBSettings).
void OpenConnection(mysql::connection& connection, const DBSettings& settings,
                    Reconnect reconnect = Reconnect::Automatic);

}  // namespace DBHelper
