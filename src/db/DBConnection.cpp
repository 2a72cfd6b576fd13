#include "db/DBConnection.h"

#include <mysql.h>

#include <exception>

#include "core/Log.h"
#include "db/DBErrorLog.h"

namespace DBHelper {
namespace {
constexpr unsigned int kConnectTimeoutSeconds = 30;
}

DBConnection::DBConnection(const DBSettings& settings)
    : DBConnection(settings.server, settings.username, settings.password, settings.database, settings.tablePrefix,
                   settings.port) {}

DBConnection::DBConnection(const std::string& server, const std::string& username, const std::string& password,
                           const std::string& database, const std::string& tablePrefix, uint32_t port)
    : connection_(std::make_shared<mysql::connection>()) {
  connect(server, username, password, database, tablePrefix, port);
}

DBConnection::~DBConnection() { prefix_.clear(); }

void DBConnection::connect(const std::string& server, const std::string& username, const std::string& password,
                           const std::string& database, const std::string& tablePrefix, uint32_t port) {
  try {
    prefix_ = tablePrefix;
    mysql::connect_options options;
    options.server = server;
    options.username = username;
    options.password = password;
    options.dbname = database;
    options.port = port;
    options.timeout = kConnectTimeoutSeconds;
    options.autoreconnect = true;
    options.charset = "utf8mb4";
    // Affected-row counts report matched rows, so an update that leaves the values
    // as they were still tells that the player's row exists.
    options.flags = CLIENT_FOUND_ROWS;
    if (!connection_->open(options) || !connection_->is_open()) {
      connection_->close();
      TandorShop::Log().critical("Failed to open connection!");
    }
  } catch (const std::exception& e) {
    LogUnexpectedError("DBHelper::connect", e.what());
  }
}

bool DBConnection::HasHandle() { return connection_->has_handle(); }

bool DBConnection::IsOpen() { return connection_->is_open(); }

void DBConnection::Finish() {
  if (connection_->is_open()) connection_->close();
}

}  // namespace DBHelper
