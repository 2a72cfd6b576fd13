#pragma once
// The private database server's settings, from the environment the scripts set.
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace testsupport {

struct DatabaseSettings {
  std::string Host;
  uint16_t Port = 0;
  std::string User;
  std::string Password;
  std::string Database;
};

// Fails the running test (fatally) when the variables are missing.
DatabaseSettings DatabaseFromEnvironment();
// A "Mysql" section for the configuration file with this table prefix.
nlohmann::json MysqlSection(const std::string& tablePrefix);
// Names of the tables that start with prefix + "_" in the test database.
std::vector<std::string> TablesWithPrefix(const std::string& prefix);
// Drops them.
void DropTablesWithPrefix(const std::string& prefix);

// A table prefix no other test uses.
std::string UniquePrefix(const std::string& base);

}  // namespace testsupport
