#pragma once
// A private set of shop tables on the test database server, a plain client for
// checking what the plugin stored, and a capture of the plugin's log lines.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <spdlog/sinks/ringbuffer_sink.h>

#include "testsupport/Database.h"

struct st_mysql;

namespace dbtest {

// A direct client connection, independent of the plugin's own layer.
class RawSql {
 public:
  RawSql(const testsupport::DatabaseSettings& settings, const std::string& database);
  ~RawSql();
  RawSql(const RawSql&) = delete;
  RawSql& operator=(const RawSql&) = delete;

  void Exec(const std::string& statement);
  std::vector<std::vector<std::string>> Rows(const std::string& statement);
  // The first column of the first row; "<none>" without a row, "<null>" for NULL.
  std::string Scalar(const std::string& statement);
  int64_t Number(const std::string& statement);

 private:
  st_mysql* handle_ = nullptr;
};

// Log lines of the plugin's logger, as "[level] text".
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  std::vector<std::string> Lines() const;
  bool Contains(const std::string& part) const;
  std::size_t Count(const std::string& part) const;

 private:
  std::shared_ptr<spdlog::sinks::ringbuffer_sink_mt> sink_;
};

// Fresh tables under a unique prefix; DBHelper is configured for them. Dropped at the end.
class ShopTables {
 public:
  explicit ShopTables(const std::string& base = "t");
  ~ShopTables();

  const std::string& Prefix() const { return prefix_; }
  std::string Table(const std::string& name) const { return prefix_ + "_" + name; }
  RawSql& Sql() { return *sql_; }
  const testsupport::DatabaseSettings& Settings() const { return settings_; }

  int64_t Points(const std::string& eosId);  // -1 without a row
  void SetPoints(const std::string& eosId, int64_t points);
  int64_t Held(const std::string& eosId, const std::string& packet);  // -1 without a row

 private:
  testsupport::DatabaseSettings settings_;
  std::string prefix_;
  std::unique_ptr<RawSql> sql_;
};

// Points DBHelper at these settings.
void ConfigureDatabase(const testsupport::DatabaseSettings& settings, const std::string& prefix,
                       const std::string& database, bool keepConnections = false);

// A second server of our own (scripts/db in a temporary folder), so that it can be
// killed and started again on the same port.
class OwnServer {
 public:
  OwnServer();
  ~OwnServer();
  OwnServer(const OwnServer&) = delete;
  OwnServer& operator=(const OwnServer&) = delete;
  void Start();
  void Kill();  // SIGKILL, then waits until the process is gone
  uint16_t Port() const { return port_; }

 private:
  void Run(const std::string& verb);
  std::filesystem::path dir_;
  uint16_t port_;
};
// A port on 127.0.0.1 where nothing listens.
uint16_t ClosedPort();
// Escapes a value for a statement of the checking client (single quotes).
std::string Quote(const std::string& text);

}  // namespace dbtest
