#include "PrivateDatabase.h"

#include "sim/scenario/ShellCommand.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <thread>

#include <mysql.h>

namespace storm {
namespace {

using sim::shell::Capture;
using sim::shell::Quoted;

}  // namespace

PrivateDatabase::PrivateDatabase(std::string script, std::string dir) : script_(std::move(script)), dir_(std::move(dir)) {}

void PrivateDatabase::RunScript(const std::string& command, bool samePort) {
  std::string line = "TANDORSHOP_DB_DIR=" + Quoted(dir_) + " ";
  if (samePort) line += "TANDORSHOP_DB_PORT_FIXED=" + std::to_string(address_.Port) + " ";
  Capture(line + Quoted(script_) + " " + command + " 2>&1");
}

void PrivateDatabase::Start() {
  RunScript("start", address_.Port != 0);
  const std::string env = Capture("TANDORSHOP_DB_DIR=" + Quoted(dir_) + " " + Quoted(script_) + " env");
  address_.Host = sim::shell::Exported(env, "TANDORSHOP_DB_HOST");
  address_.Port = static_cast<uint16_t>(std::stoi(sim::shell::Exported(env, "TANDORSHOP_DB_PORT")));
  address_.User = sim::shell::Exported(env, "TANDORSHOP_DB_USER");
  address_.Password = sim::shell::Exported(env, "TANDORSHOP_DB_PASSWORD");
  address_.Name = sim::shell::Exported(env, "TANDORSHOP_DB_NAME");
}

void PrivateDatabase::Kill() {
  pid_t pid = 0;
  std::ifstream(dir_ + "/mysqld.pid") >> pid;
  if (pid <= 0) throw std::runtime_error("no database server to kill in " + dir_);
  ::kill(pid, SIGKILL);
  for (int i = 0; i < 500 && sim::shell::Running(pid); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void PrivateDatabase::Stop() { RunScript("stop", false); }

Rows Query(const DatabaseAddress& address, const std::string& statement) {
  std::unique_ptr<MYSQL, void (*)(MYSQL*)> handle(mysql_init(nullptr), mysql_close);
  if (mysql_real_connect(handle.get(), address.Host.c_str(), address.User.c_str(), address.Password.c_str(),
                         address.Name.c_str(), address.Port, nullptr, 0) == nullptr)
    throw std::runtime_error(std::string("database: ") + mysql_error(handle.get()));
  if (mysql_query(handle.get(), statement.c_str()) != 0)
    throw std::runtime_error(std::string("database: ") + mysql_error(handle.get()) + " in " + statement);
  Rows rows;
  if (MYSQL_RES* result = mysql_store_result(handle.get())) {
    const unsigned int columns = mysql_num_fields(result);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
      std::vector<std::string>& values = rows.emplace_back();
      for (unsigned int c = 0; c < columns; ++c) values.emplace_back(row[c] ? row[c] : "");
    }
    mysql_free_result(result);
  }
  return rows;
}

int64_t Number(const std::string& text) { return text.empty() ? 0 : std::stoll(text); }

}  // namespace storm
