#pragma once
// Runs the tandorshop-report program on the private database server and reads
// what it wrote; fills tables with the made-up economy of the benchmark.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct st_mysql;

namespace reporttest {

// The private database server, from the variables scripts/db env prints.
struct DatabaseSettings {
  std::string Host;
  unsigned Port = 0;
  std::string User;
  std::string Password;
  std::string Database;
  std::string Socket;
};
// Fails the running test when the variables are missing.
DatabaseSettings DatabaseFromEnvironment();

// A plain client connection for filling tables and computing the expected sums.
class Sql {
 public:
  explicit Sql(const DatabaseSettings& settings, bool asRoot = false);
  ~Sql();
  Sql(const Sql&) = delete;
  Sql& operator=(const Sql&) = delete;
  void Exec(const std::string& statement);
  std::vector<std::vector<std::string>> Rows(const std::string& statement);
  // The first column of the first row as a number (0 for NULL, -1 without a row).
  int64_t Number(const std::string& statement);

 private:
  st_mysql* handle_ = nullptr;
};

// A table prefix no other test uses.
std::string UniquePrefix(const std::string& base);
void DropTablesWithPrefix(Sql& sql, const std::string& prefix);

struct RunResult {
  int Status = -1;
  std::string Output;  // the report (or whatever --out received)
  std::string Errors;  // standard error
  nlohmann::json Json() const;
};

// The program with these arguments; the output goes to a temporary file.
RunResult RunReport(const std::vector<std::string>& arguments);
// The connection flags for the test database (and the table prefix).
std::vector<std::string> ConnectionFlags(const std::string& prefix);
// RunReport with the connection flags, a period reaching back 90 days and --format json.
RunResult RunJson(const std::string& prefix, std::vector<std::string> more = {});

// The made-up economy (200 players, 5,000 shop rows over 60 days, 3 servers) plus
// hand-written rows: values out of range and an admin SetPoints. Version 1: the
// tables as they were before they had keys, indexes and a schema table.
class Economy {
 public:
  explicit Economy(int version = 2);
  ~Economy();
  const std::string& Prefix() const { return prefix_; }
  std::string Table(const std::string& name) const { return prefix_ + "_" + name; }
  reporttest::Sql& Sql() { return *sql_; }
  int64_t Now() const { return now_; }

 private:
  DatabaseSettings settings_;
  std::string prefix_;
  int64_t now_;
  std::unique_ptr<reporttest::Sql> sql_;
};

}  // namespace reporttest
