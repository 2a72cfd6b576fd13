#include "ReportRun.h"

#include <gtest/gtest.h>
#include <mysql.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "EconomyFill.h"

namespace reporttest {
namespace {

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) ADD_FAILURE() << name << " not set: eval \"$(scripts/db env)\" first";
  return value != nullptr ? value : "";
}

}  // namespace

DatabaseSettings DatabaseFromEnvironment() {
  DatabaseSettings settings;
  settings.Host = Env("TANDORSHOP_DB_HOST");
  settings.Port = static_cast<unsigned>(std::atoi(Env("TANDORSHOP_DB_PORT").c_str()));
  settings.User = Env("TANDORSHOP_DB_USER");
  settings.Password = Env("TANDORSHOP_DB_PASSWORD");
  settings.Database = Env("TANDORSHOP_DB_NAME");
  const char* socket = std::getenv("TANDORSHOP_DB_SOCKET");
  settings.Socket = socket != nullptr ? socket : "";
  return settings;
}

Sql::Sql(const DatabaseSettings& settings, bool asRoot) : handle_(mysql_init(nullptr)) {
  // root reaches the private server through its socket (to create accounts).
  const bool connected =
      asRoot ? mysql_real_connect(handle_, nullptr, "root", nullptr, settings.Database.c_str(), 0,
                                  settings.Socket.c_str(), 0) != nullptr
             : mysql_real_connect(handle_, settings.Host.c_str(), settings.User.c_str(), settings.Password.c_str(),
                                  settings.Database.c_str(), settings.Port, nullptr, 0) != nullptr;
  if (!connected) ADD_FAILURE() << "cannot connect: " << mysql_error(handle_);
}

Sql::~Sql() { mysql_close(handle_); }

void Sql::Exec(const std::string& statement) {
  if (mysql_real_query(handle_, statement.data(), statement.size()) != 0) {
    ADD_FAILURE() << mysql_error(handle_) << "\n  in " << statement.substr(0, 300);
    return;
  }
  if (MYSQL_RES* result = mysql_store_result(handle_)) mysql_free_result(result);
}

std::vector<std::vector<std::string>> Sql::Rows(const std::string& statement) {
  std::vector<std::vector<std::string>> rows;
  if (mysql_real_query(handle_, statement.data(), statement.size()) != 0) {
    ADD_FAILURE() << mysql_error(handle_) << "\n  in " << statement.substr(0, 300);
    return rows;
  }
  MYSQL_RES* result = mysql_store_result(handle_);
  if (result == nullptr) return rows;
  const unsigned count = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    std::vector<std::string>& values = rows.emplace_back();
    for (unsigned i = 0; i < count; ++i) values.emplace_back(row[i] != nullptr ? row[i] : "");
  }
  mysql_free_result(result);
  return rows;
}

int64_t Sql::Number(const std::string& statement) {
  const auto rows = Rows(statement);
  if (rows.empty() || rows[0].empty()) return -1;
  return rows[0][0].empty() ? 0 : std::stoll(rows[0][0]);
}

std::string UniquePrefix(const std::string& base) {
  static int counter = 0;
  return base + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

void DropTablesWithPrefix(Sql& sql, const std::string& prefix) {
  for (const auto& row : sql.Rows("SELECT table_name FROM information_schema.tables WHERE table_schema=DATABASE() "
                                  "AND table_name LIKE '" + prefix + "\\_%'"))
    sql.Exec("DROP TABLE `" + row[0] + "`");
}

nlohmann::json RunResult::Json() const {
  try {
    return nlohmann::json::parse(Output);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "not JSON: " << e.what() << "\n" << Output.substr(0, 500) << "\n" << Errors;
    return nlohmann::json::object();
  }
}

RunResult RunReport(const std::vector<std::string>& arguments) {
  // Files of this test process only: CTest runs other report tests at the same time.
  const std::string own = std::to_string(::getpid());
  const std::string out = testing::TempDir() + "report-output-" + own;
  const std::string err = testing::TempDir() + "report-errors-" + own;
  std::string command = Quote(TANDORSHOP_REPORT_BINARY);
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  command += " >" + Quote(out) + " 2>" + Quote(err);
  const int status = std::system(command.c_str());
  RunResult result;
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.Output = ReadFile(out);
  result.Errors = ReadFile(err);
  return result;
}

std::vector<std::string> ConnectionFlags(const std::string& prefix) {
  const DatabaseSettings db = DatabaseFromEnvironment();
  return {"--host",     db.Host,     "--port",     std::to_string(db.Port), "--user", db.User,
          "--password", db.Password, "--database", db.Database,             "--table-prefix", prefix};
}

RunResult RunJson(const std::string& prefix, std::vector<std::string> more) {
  std::vector<std::string> arguments = ConnectionFlags(prefix);
  arguments.insert(arguments.end(), {"--since", "90d", "--format", "json"});
  arguments.insert(arguments.end(), more.begin(), more.end());
  return RunReport(arguments);
}

Economy::Economy(int version)
    : settings_(DatabaseFromEnvironment()),
      prefix_(UniquePrefix("rep")),
      now_(std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
               .count()),
      sql_(std::make_unique<reporttest::Sql>(settings_)) {
  economyfill::Size size;
  size.Now = now_;
  size.Version = version;
  for (const std::string& statement : economyfill::Statements(prefix_, size)) sql_->Exec(statement);
  const std::string shop = Table("shoplog");
  const std::string shopColumns =
      " (eosId,packet,descr,timestamp,serverid,amount,points_change,newpoints,redeemsLeft,isBuy,isRedeem,isSell) ";
  const std::string t = std::to_string(now_ - 86400);
  // Out of range: a time of 0, a time in the future, a sale that costs, a buy that earns, two kinds, a negative amount.
  sql_->Exec("INSERT INTO " + shop + shopColumns + "VALUES ('EOS0000001','Metal Crate,1;;;','',0,1,1,-10,100,0,1,0,0)," +
             "('EOS0000001','Metal Crate,1;;;',''," + std::to_string(now_ + 30 * 86400) + ",1,1,-10,100,0,1,0,0)," +
             "('EOS0000002','Stone',''," + t + ",1,1,-10,100,0,0,0,1),('EOS0000002','Gacha,1;;;',''," + t +
             ",1,1,10,100,0,1,0,0),('EOS0000002','Gacha,1;;;',''," + t + ",1,1,-10,100,0,1,0,1),"
             "('EOS0000002','Gacha,1;;;',''," + t + ",1,-1,-10,100,0,1,0,0)");
  sql_->Exec("INSERT INTO " + shop + " (eosId,packet,timestamp) VALUES ('EOS0000002','Gacha',NULL)");
  // A player with points and no log row.
  sql_->Exec("INSERT INTO " + Table("player_points") + " (eosId,points,lastChange) VALUES ('EOS9000002',55," +
             std::to_string(now_) + ")");
  // An admin SetPoints on a player of their own.
  sql_->Exec("INSERT INTO " + Table("player_points") + " (eosId,points,lastChange) VALUES ('EOS9000001',777," +
             std::to_string(now_) + ")");
  sql_->Exec("INSERT INTO " + Table("tradelog") +
             " (eosid_from,eosid_to,from_name,to_name,timestamp,serverid,amount,points_after_from,points_after_to) "
             "VALUES ('admin setpoints','EOS9000001','season reset ',''," + std::to_string(now_ - 3600) +
             ",2,700,-1,700)");
}

Economy::~Economy() { DropTablesWithPrefix(*sql_, prefix_); }

}  // namespace reporttest
