#include "AdminCommandsFixture.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include <mysql.h>

#include "testsupport/Database.h"

namespace commandtest {
namespace {

nlohmann::json ShopConfig(const std::string& prefix) {
  nlohmann::json config = testsupport::MinimalConfig(prefix);
  const char* stonePick =
      "Blueprint'/Game/PrimalEarth/CoreBlueprints/Weapons/PrimalItem_WeaponStonePick.PrimalItem_WeaponStonePick'";
  config["ShopCategories"] = {{{"Name", "Tools"}}};
  config["ShopPackets"] = {
      {{"ShopCategory", "Tools"},
       {"PacketName", "Kit"},
       {"Description", "Kit"},
       {"Price", 50},
       {"Items", {{{"Variants", {{{"Name", "Stone Pick"}, {"Blueprint", stonePick}, {"Amount", 1}}}}}}}}};
  config["RewardPackets"] = {{{"Name", "Gift"}, {"FromShopPacket", "Kit"}}};
  return config;
}

}  // namespace

Sql::Sql() {
  const testsupport::DatabaseSettings db = testsupport::DatabaseFromEnvironment();
  handle_ = mysql_init(nullptr);
  if (mysql_real_connect(handle_, db.Host.c_str(), db.User.c_str(), db.Password.c_str(), db.Database.c_str(),
                         db.Port, nullptr, 0) == nullptr) {
    const std::string error = mysql_error(handle_);
    mysql_close(handle_);
    throw std::runtime_error("test database: " + error);
  }
  mysql_set_character_set(handle_, "utf8mb4");
}

Sql::~Sql() { mysql_close(handle_); }

void Sql::Exec(const std::string& statement) {
  if (mysql_query(handle_, statement.c_str()) != 0) throw std::runtime_error(mysql_error(handle_));
}

std::vector<std::vector<std::string>> Sql::Rows(const std::string& statement) {
  Exec(statement);
  std::vector<std::vector<std::string>> rows;
  MYSQL_RES* result = mysql_store_result(handle_);
  if (result == nullptr) return rows;
  const unsigned columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    std::vector<std::string>& out = rows.emplace_back();
    for (unsigned i = 0; i < columns; ++i) out.push_back(row[i] == nullptr ? "<null>" : row[i]);
  }
  mysql_free_result(result);
  return rows;
}

std::string Sql::Quote(const std::string& text) {
  std::string escaped(text.size() * 2 + 1, '\0');
  escaped.resize(mysql_real_escape_string(handle_, escaped.data(), text.data(), text.size()));
  return "'" + escaped + "'";
}

std::string Sql::Scalar(const std::string& statement) {
  const auto rows = Rows(statement);
  return rows.empty() ? "<none>" : rows[0][0];
}

void AdminCommands::SetUp() {
  prefix_ = testsupport::UniquePrefix("cmd");
  fixture_.WriteConfig(ShopConfig(prefix_));
  fixture_.LoadIntoRunningServer();
}

void AdminCommands::TearDown() {
  Server().UnloadPlugin();
  testsupport::DropTablesWithPrefix(prefix_);
}

std::string AdminCommands::Rcon(const std::string& command) { return fixture_.Rcon(command).value_or("<no reply>"); }

std::string AdminCommands::Points(const std::string& eosId) {
  return sql_.Scalar("SELECT points FROM " + Table("player_points") + " WHERE eosId=" + sql_.Quote(eosId));
}

void AdminCommands::StorePoints(const std::string& eosId, int64_t points) {
  sql_.Exec("INSERT INTO " + Table("player_points") + " (eosId, points) VALUES (" + sql_.Quote(eosId) + ", " +
            std::to_string(points) + ") ON DUPLICATE KEY UPDATE points=" + std::to_string(points));
}

std::vector<std::vector<std::string>> AdminCommands::TradeLog() {
  return sql_.Rows("SELECT eosid_from, eosid_to, from_name, to_name, amount, points_after_from, points_after_to FROM " +
                   Table("tradelog"));
}

std::vector<std::vector<std::string>> AdminCommands::Held(const std::string& eosId) {
  return sql_.Rows("SELECT packetStr, amount, isRewardPacket FROM " + Table("player_redeems") + " WHERE eosId=" +
                   sql_.Quote(eosId) + " ORDER BY packetStr");
}

bool AdminCommands::WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (done()) return true;
    Server().Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

bool AdminCommands::WaitForPoints(const std::string& eosId, const std::string& expected) {
  return WaitUntil([&] { return Points(eosId) == expected; });
}

void AdminCommands::Settle() { Server().UnloadPlugin(); }

}  // namespace commandtest
