#include "db/DBConnection.h"

#include <mysql.h>

#include <exception>

#include "core/Log.h"
#include "db/Attempts.h"
#include "db/DBErrorLog.h"
#include "db/KeptConnection.h"
#include "db/NodeSelection.h"

namespace DBHelper {
namespace {

DBSettings SettingsOf(const std::string& server, const std::string& username, const std::string& password,
                      const std::string& database, const std::string& tablePrefix, uint32_t port) {
  DBSettings settings;
  settings.server = server;
  settings.username = username;
  settings.password = password;
  settings.database = database;
  settings.tablePrefix = tablePrefix;
  settings.port = port;
  return settings;
}
}  // namespace

void OpenConnection(mysql::connection& connection, const DBSettings& settings, Reconnect reconnect) {
  try {
    mysql::connect_options options;
    options.username = settings.username;
    options.password = settings.password;
    options.dbname = settings.database;
    const unsigned int timeout = OnWorkerThread() ? settings.workerTimeoutSeconds : settings.gameThreadTimeoutSeconds;
    options.timeout = timeout;
    options.read_timeout = timeout;
    options.write_timeout = timeout;
    options.autoreconnect = reconnect == Reconnect::Automatic;
    options.charset = "utf8mb4";
    // Affected-row counts report matched rows, so an update that leaves the values
    // as they were still tells that the player's row exists. Statements whose
    // answer can wait go out together with the next one (exec_later).
    options.flags = CLIENT_FOUND_ROWS | CLIENT_MULTI_STATEMENTS;
    if (!OpenOnFirstReadyNode(connection, options, settings)) {
      connection.close();
      NoteStatementError(2003);  // a later try may find the server (or the next node) ready
      if (FailureWillBeRetried())
        TandorShop::Log().debug("Failed to open connection!");
      else
        TandorShop::Log().critical("Failed to open connection!");
    }
  } catch (const std::exception& e) {
    LogUnexpectedError("DBHelper::connect", e.what());
  }
}

DBConnection::DBConnection(const DBSettings& settings) : settings_(settings), prefix_(settings.tablePrefix) {
  connection_ = TakeKeptConnection(settings);
  kept_ = connection_ != nullptr;
  if (!kept_) {
    connection_ = std::make_shared<mysql::connection>();
    OpenConnection(*connection_, settings);
  }
}

DBConnection::DBConnection(const std::string& server, const std::string& username, const std::string& password,
                           const std::string& database, const std::string& tablePrefix, uint32_t port)
    : connection_(std::make_shared<mysql::connection>()),
      settings_(SettingsOf(server, username, password, database, tablePrefix, port)),
      prefix_(tablePrefix) {
  OpenConnection(*connection_, settings_);
}

DBConnection::~DBConnection() {
  if (kept_) ReturnKeptConnection();
  prefix_.clear();
}

std::shared_ptr<const mysql::pending_rows> DBConnection::Later(std::string_view qualifiedName,
                                                               std::string statement) {
  return connection_->exec_later(qualifiedName, std::move(statement));
}

bool DBConnection::HasHandle() { return connection_->has_handle(); }

bool DBConnection::IsOpen() {
  if (!connection_->had_error()) return connection_->has_handle();
  return connection_->is_open();
}

bool DBConnection::Reopen() {
  // A kept connection is reopened in place: the thread keeps the new session.
  connection_->close();
  OpenConnection(*connection_, settings_, kept_ ? Reconnect::ByOwner : Reconnect::Automatic);
  failedQueries_ = 0;
  return connection_->has_handle();
}

void DBConnection::Finish() {
  if (kept_) return;  // the thread keeps it; the destructor marks it idle
  connection_->close();
}

}  // namespace DBHelper
