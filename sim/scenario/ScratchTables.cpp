#include "sim/scenario/ScratchTables.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>

#include <mysql.h>

namespace sim {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

using Handle = std::unique_ptr<MYSQL, void (*)(MYSQL*)>;

Handle Connect() {
  const std::string host = Env("TANDORSHOP_DB_HOST"), port = Env("TANDORSHOP_DB_PORT");
  if (host.empty() || port.empty()) throw std::runtime_error("TANDORSHOP_DB_* not set");
  Handle handle(mysql_init(nullptr), mysql_close);
  if (mysql_real_connect(handle.get(), host.c_str(), Env("TANDORSHOP_DB_USER").c_str(),
                         Env("TANDORSHOP_DB_PASSWORD").c_str(), Env("TANDORSHOP_DB_NAME").c_str(),
                         static_cast<unsigned>(std::stoi(port)), nullptr, 0) == nullptr)
    throw std::runtime_error(std::string("database: ") + mysql_error(handle.get()));
  return handle;
}

// Runs one statement; the first column of every row it answers.
std::vector<std::string> Query(const std::string& statement, Handle handle = Connect()) {
  if (mysql_query(handle.get(), statement.c_str()) != 0)
    throw std::runtime_error(std::string("database: ") + mysql_error(handle.get()));
  std::vector<std::string> rows;
  std::unique_ptr<MYSQL_RES, void (*)(MYSQL_RES*)> result(mysql_store_result(handle.get()), mysql_free_result);
  if (result)
    while (MYSQL_ROW row = mysql_fetch_row(result.get())) rows.emplace_back(row[0] != nullptr ? row[0] : "");
  return rows;
}

bool PlainIdentifier(const std::string& text) {
  if (text.empty()) return false;
  for (const unsigned char c : text)
    if (!std::isalnum(c) && c != '_' && c != '-') return false;
  return true;
}

}  // namespace

std::string FreshTablePrefix(const std::string& base) {
  std::mt19937_64 random(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         static_cast<uint64_t>(::getpid()));
  return base + "_" + std::to_string(random() % 100000000);
}

std::vector<std::string> TablesWithPrefix(const std::string& prefix) {
  if (!PlainIdentifier(prefix)) throw std::invalid_argument("not a plain table prefix: " + prefix);
  return Query("SHOW TABLES LIKE '" + prefix + "\\_%'");  // "_" escaped for LIKE
}

void DropTablesWithPrefix(const std::string& prefix) {
  for (const std::string& table : TablesWithPrefix(prefix)) Query("DROP TABLE IF EXISTS `" + table + "`");
}

std::optional<int64_t> StoredPoints(const std::string& prefix, const std::string& eosId) {
  if (!PlainIdentifier(prefix)) throw std::invalid_argument("not a plain table prefix: " + prefix);
  Handle handle = Connect();
  std::string escaped(eosId.size() * 2 + 1, '\0');
  escaped.resize(mysql_real_escape_string(handle.get(), escaped.data(), eosId.c_str(), eosId.size()));
  const auto rows =
      Query("SELECT points FROM `" + prefix + "_player_points` WHERE eosId='" + escaped + "'", std::move(handle));
  if (rows.empty()) return std::nullopt;
  return std::stoll(rows[0]);
}

nlohmann::json PrivateDatabaseSection(const std::string& tablePrefix) {
  const std::string host = Env("TANDORSHOP_DB_HOST"), port = Env("TANDORSHOP_DB_PORT");
  if (host.empty() || port.empty()) throw std::runtime_error("TANDORSHOP_DB_* not set (eval \"$(scripts/db env)\")");
  return {{"server", host},
          {"port", std::stoi(port)},
          {"username", Env("TANDORSHOP_DB_USER")},
          {"password", Env("TANDORSHOP_DB_PASSWORD")},
          {"database", Env("TANDORSHOP_DB_NAME")},
          {"tablePrefix", tablePrefix}};
}

}  // namespace sim
