#include "DbTestSupport.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <mysql.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <stdexcept>

#include "config/ShopConfig.h"
#include "core/Log.h"
#include "db/DBHelper.h"

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
  return static_cast<std::size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(part) != std::string::npos; }));
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
    testsupport::DropTablesWithPrefix(prefix_);
  } catch (...) {
  }
}

int64_t ShopTables::Points(const std::string& eosId) {
  const std::string value = sql_->Scalar("SELECT points FROM " + Table("player_points") + " WHERE eosId=" + Quote(eosId));
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
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  socklen_t length = sizeof(address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);  // bound but never listening, and now released
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

OwnServer::OwnServer()
    : dir_(std::filesystem::temp_directory_path() / testsupport::UniquePrefix("tsdb-restart")), port_(ClosedPort()) {
  Run("start");
}

OwnServer::~OwnServer() {
  Run("stop");
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void OwnServer::Start() { Run("start"); }

void OwnServer::Kill() {
  std::ifstream pidFile(dir_ / "mysqld.pid");
  pid_t pid = 0;
  pidFile >> pid;
  ASSERT_GT(pid, 0);
  ::kill(pid, SIGKILL);
  for (int i = 0; i < 100 && ::kill(pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

void OwnServer::Run(const std::string& verb) {
  const std::string command = "TANDORSHOP_DB_DIR='" + dir_.string() + "' TANDORSHOP_DB_PORT_FIXED=" +
                              std::to_string(port_) + " '" TANDORSHOP_SOURCE_DIR "/scripts/db' " + verb;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace dbtest
