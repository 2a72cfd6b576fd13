// The database tests' support (tests/db/DbTestSupport.h, testsupport/Database.h)
// for the Windows test program: the same checking client and tables; the free
// port from Winsock; and the second server, which lives on the Linux side, started
// and killed by scripts/windows-test on request (files in TANDORSHOP_WINDOWS_CONTROL).
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>
#include <mysql.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "DbTestSupport.h"
#include "config/ShopConfig.h"
#include "core/Log.h"
#include "db/DBHelper.h"
#include "testsupport/Database.h"

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
    ADD_FAILURE() << "TANDORSHOP_DB_* not set: run the tests through scripts/windows-test";
    throw std::runtime_error("no database settings");
  }
  settings.Port = static_cast<uint16_t>(std::stoi(port));
  return settings;
}

nlohmann::json MysqlSection(const std::string& tablePrefix) {
  const DatabaseSettings db = DatabaseFromEnvironment();
  return {{"server", db.Host},       {"username", db.User},       {"password", db.Password},
          {"database", db.Database}, {"tablePrefix", tablePrefix}, {"port", db.Port}};
}

// Unique across the processes of this and other runs on the same server.
std::string UniquePrefix(const std::string& base) {
  static std::atomic<int> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return base + "w" + std::to_string(::GetCurrentProcessId()) + "x" + std::to_string(now % 1000000007) + "n" +
         std::to_string(counter++);
}

std::vector<std::string> TablesWithPrefix(const std::string& prefix) {
  const DatabaseSettings settings = DatabaseFromEnvironment();
  dbtest::RawSql sql(settings, settings.Database);
  std::vector<std::string> names;
  for (const auto& row : sql.Rows("SHOW TABLES LIKE " + dbtest::Quote(prefix + "\\_%"))) names.push_back(row[0]);
  return names;
}

void DropTablesWithPrefix(const std::string& prefix) {
  const DatabaseSettings settings = DatabaseFromEnvironment();
  dbtest::RawSql sql(settings, settings.Database);
  for (const std::string& table : TablesWithPrefix(prefix)) sql.Exec("DROP TABLE IF EXISTS `" + table + "`");
}

}  // namespace testsupport

namespace dbtest {

RawSql::RawSql(const testsupport::DatabaseSettings& settings, const std::string& database) {
  handle_ = mysql_init(nullptr);
  mysql_optionsv(handle_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
  if (mysql_real_connect(handle_, settings.Host.c_str(), settings.User.c_str(), settings.Password.c_str(),
                         database.empty() ? nullptr : database.c_str(), settings.Port, nullptr, 0) == nullptr) {
    const std::string error = mysql_error(handle_);
    mysql_close(handle_);
    handle_ = nullptr;
    throw std::runtime_error("test client cannot connect: " + error);
  }
}

RawSql::~RawSql() {
  if (handle_ != nullptr) mysql_close(handle_);
}

void RawSql::Exec(const std::string& statement) {
  if (mysql_real_query(handle_, statement.data(), statement.size()) != 0)
    throw std::runtime_error("test statement failed: " + std::string(mysql_error(handle_)) + " in " + statement);
  if (MYSQL_RES* result = mysql_store_result(handle_)) mysql_free_result(result);
}

std::vector<std::vector<std::string>> RawSql::Rows(const std::string& statement) {
  if (mysql_real_query(handle_, statement.data(), statement.size()) != 0)
    throw std::runtime_error("test query failed: " + std::string(mysql_error(handle_)) + " in " + statement);
  std::vector<std::vector<std::string>> rows;
  MYSQL_RES* result = mysql_store_result(handle_);
  if (result == nullptr) return rows;
  const unsigned int columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    auto& out = rows.emplace_back();
    for (unsigned int i = 0; i < columns; ++i)
      out.push_back(row[i] == nullptr ? std::string("<null>") : std::string(row[i], lengths[i]));
  }
  mysql_free_result(result);
  return rows;
}

std::string RawSql::Scalar(const std::string& statement) {
  const auto rows = Rows(statement);
  return rows.empty() || rows[0].empty() ? std::string("<none>") : rows[0][0];
}

int64_t RawSql::Number(const std::string& statement) { return std::stoll(Scalar(statement)); }

LogCapture::LogCapture() : sink_(std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(20000)) {
  sink_->set_pattern("[%l] %v");
  TandorShop::Log().sinks().push_back(sink_);
}

LogCapture::~LogCapture() {
  auto& sinks = TandorShop::Log().sinks();
  sinks.erase(std::remove(sinks.begin(), sinks.end(), sink_), sinks.end());
}

std::vector<std::string> LogCapture::Lines() const { return sink_->last_formatted(); }

bool LogCapture::Contains(const std::string& part) const { return Count(part) > 0; }

std::size_t LogCapture::Count(const std::string& part) const {
  const auto lines = Lines();
  return static_cast<std::size_t>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& line) { return line.find(part) != std::string::npos; }));
}

void ConfigureDatabase(const testsupport::DatabaseSettings& settings, const std::string& prefix,
                       const std::string& database, bool keepConnections) {
  ConfigHelper::ConfigMysql config;
  config.keepConnections = keepConnections;
  config.server = settings.Host;
  config.username = settings.User;
  config.password = settings.Password;
  config.database = database;
  config.tablePrefix = prefix;
  config.port = settings.Port;
  config.valid = true;
  DBHelper::setConfig(config);
}

ShopTables::ShopTables(const std::string& base)
    : settings_(testsupport::DatabaseFromEnvironment()), prefix_(testsupport::UniquePrefix(base)) {
  sql_ = std::make_unique<RawSql>(settings_, settings_.Database);
  ConfigureDatabase(settings_, prefix_, settings_.Database);
  DBHelper::createTables();
}

ShopTables::~ShopTables() {
  try {
    for (const char* name : {"player_points", "player_chars", "player_redeems", "player_cooldowns", "tradelog",
                             "shoplog"})
      sql_->Exec("DROP TABLE IF EXISTS `" + Table(name) + "`");
  } catch (...) {
  }
}

int64_t ShopTables::Points(const std::string& eosId) {
  const std::string value =
      sql_->Scalar("SELECT points FROM " + Table("player_points") + " WHERE eosId=" + Quote(eosId));
  return value == "<none>" ? -1 : std::stoll(value);
}

void ShopTables::SetPoints(const std::string& eosId, int64_t points) {
  sql_->Exec("INSERT INTO " + Table("player_points") + " (eosId,points) VALUES (" + Quote(eosId) + "," +
             std::to_string(points) + ") ON DUPLICATE KEY UPDATE points=" + std::to_string(points));
}

int64_t ShopTables::Held(const std::string& eosId, const std::string& packet) {
  const std::string value = sql_->Scalar("SELECT amount FROM " + Table("player_redeems") + " WHERE eosId=" +
                                         Quote(eosId) + " AND packetStr=" + Quote(packet));
  return value == "<none>" ? -1 : std::stoll(value);
}

uint16_t ClosedPort() {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET fd = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::closesocket(fd);  // bound but never listening, and now released
  ::WSACleanup();
  return ntohs(address.sin_port);
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

// ---- the second server, on the Linux side ----
// A request is a file "<n>.request" holding "<verb> <port>" in the control folder;
// the script answers with "<n>.done" holding the verb's exit status.
namespace {

std::filesystem::path ControlFolder() {
  const char* folder = std::getenv("TANDORSHOP_WINDOWS_CONTROL");
  if (folder == nullptr) throw std::runtime_error("TANDORSHOP_WINDOWS_CONTROL not set: run scripts/windows-test");
  return std::filesystem::path(folder);
}

int AskLinuxSide(const std::string& verb, uint16_t port) {
  static std::atomic<int> counter{0};
  const std::string name = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
  const std::filesystem::path folder = ControlFolder();
  {
    std::ofstream request(folder / (name + ".partial"), std::ios::binary);  // "\n", not "\r\n": read by bash
    request << verb << ' ' << port << '\n';
  }
  std::filesystem::rename(folder / (name + ".partial"), folder / (name + ".request"));
  const std::filesystem::path done = folder / (name + ".done");
  for (int i = 0; i < 1200; ++i) {  // a server start may take a minute on a loaded machine
    if (std::filesystem::exists(done)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      int status = -1;
      std::ifstream(done) >> status;
      std::filesystem::remove(done);
      return status;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -2;
}

}  // namespace

OwnServer::OwnServer() : dir_(), port_(ClosedPort()) { Run("start"); }

OwnServer::~OwnServer() { Run("stop"); }

void OwnServer::Start() { Run("start"); }

void OwnServer::Kill() { Run("kill"); }

void OwnServer::Run(const std::string& verb) {
  ASSERT_EQ(AskLinuxSide(verb, port_), 0) << verb << " of the server on port " << port_;
}

}  // namespace dbtest
