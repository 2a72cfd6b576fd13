#include "testsupport/Database.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "sim/scenario/ScratchTables.h"

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

std::string UniquePrefix(const std::string& base) { return sim::FreshTablePrefix(base); }

std::vector<std::string> TablesWithPrefix(const std::string& prefix) {
  DatabaseFromEnvironment();
  return sim::TablesWithPrefix(prefix);
}

void DropTablesWithPrefix(const std::string& prefix) {
  DatabaseFromEnvironment();
  sim::DropTablesWithPrefix(prefix);
}

}  // namespace testsupport
