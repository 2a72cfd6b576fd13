#include "AdminCommandsFixture.h"

#include <chrono>
#include <stdexcept>
#include <thread>

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
  return sql_.Scalar("SELECT points FROM " + Table("player_points") + " WHERE eosId=" + dbtest::Quote(eosId));
}

void AdminCommands::StorePoints(const std::string& eosId, int64_t points) {
  sql_.Exec("INSERT INTO " + Table("player_points") + " (eosId, points) VALUES (" + dbtest::Quote(eosId) + ", " +
            std::to_string(points) + ") ON DUPLICATE KEY UPDATE points=" + std::to_string(points));
}

std::vector<std::vector<std::string>> AdminCommands::TradeLog() {
  return sql_.Rows("SELECT eosid_from, eosid_to, from_name, to_name, amount, points_after_from, points_after_to FROM " +
                   Table("tradelog"));
}

std::vector<std::vector<std::string>> AdminCommands::Held(const std::string& eosId) {
  return sql_.Rows("SELECT packetStr, amount, isRewardPacket FROM " + Table("player_redeems") + " WHERE eosId=" +
                   dbtest::Quote(eosId) + " ORDER BY packetStr");
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
