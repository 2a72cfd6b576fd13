#include "testsupport/Database.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include <mysql.h>

namespace testsupport {
namespace {
std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}
}  // namespace

DatabaseSettings DatabaseFromEnvironment() {
  DatabaseSettings settings;
  settings.Host = Env("TANDORSHOP_DB_HOST");
  const std::string port = Env("TANDORSHOP_DB_PORT");
  settings.User = Env("TANDORSHOP_DB_USER");
  settings.Password = Env("TANDORSHOP_DB_PASSWORD");
  settings.Database = Env("TANDORSHOP_DB_NAME");
  if (settings.Host.empty() || port.empty() || settings.User.empty()) {
    ADD_FAILURE() << "TANDORSHOP_DB_* not set: run the tests through scripts/test (or eval \"$(scripts/db env)\")";
    throw std::runtime_error("no database settings");
  }
  settings.Port = static_cast<uint16_t>(std::stoi(port));
  return settings;
}

nlohmann::json MysqlSection(const std::string& tablePrefix) {
  const DatabaseSettings db = DatabaseFromEnvironment();
  return {{"server", db.Host},     {"username", db.User},       {"password", db.Password},
          {"database", db.Database}, {"tablePrefix", tablePrefix}, {"port", db.Port}};
}

std::string UniquePrefix(const std::string& base) {
  std::mt19937_64 random(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         static_cast<uint64_t>(::getpid()));
  return base + "_" + std::to_string(random() % 100000000);
}

}  // namespace testsupport

namespace testsupport {
namespace {

std::vector<std::string> Query(const std::string& statement) {
  const DatabaseSettings db = DatabaseFromEnvironment();
  MYSQL* handle = mysql_init(nullptr);
  std::vector<std::string> rows;
  if (mysql_real_connect(handle, db.Host.c_str(), db.User.c_str(), db.Password.c_str(), db.Database.c_str(), db.Port,
                         nullptr, 0) == nullptr) {
    const std::string error = mysql_error(handle);
    mysql_close(handle);
    throw std::runtime_error("test database: " + error);
  }
  if (mysql_query(handle, statement.c_str()) == 0) {
    if (MYSQL_RES* result = mysql_store_result(handle)) {
      while (MYSQL_ROW row = mysql_fetch_row(result)) rows.emplace_back(row[0] ? row[0] : "");
      mysql_free_result(result);
    }
  }
  mysql_close(handle);
  return rows;
}

}  // namespace

std::vector<std::string> TablesWithPrefix(const std::string& prefix) {
  // Prefixes in tests are plain identifiers; "_" is escaped for LIKE.
  return Query("SHOW TABLES LIKE '" + prefix + "\\_%'");
}

void DropTablesWithPrefix(const std::string& prefix) {
  for (const std::string& table : TablesWithPrefix(prefix)) Query("DROP TABLE IF EXISTS `" + table + "`");
}

}  // namespace testsupport
