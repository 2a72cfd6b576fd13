#pragma once
// A simulated server with a small shop: groups, three categories, fifteen kits.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "AsaApi/Game/TandorShopMod.h"
#include "DbTestSupport.h"
#include "sim/companions/ClientMod.h"
#include "testsupport/Database.h"
#include "testsupport/ServerFixture.h"

class ModShop : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = testsupport::UniquePrefix("mod");
    config_ = testsupport::MinimalConfig(prefix_);
    config_["General"]["RewardIntervalMinutes"] = 30;
    config_["General"]["ShowPacketsAvailableInHours"] = 2;
    config_["GroupPrivileges"] = nlohmann::json::parse(R"([
      {"ForGroups": ["VIP"], "PassivePointsAmount": 5, "ShopDiscount": 10},
      {"ForGroups": ["Gold"], "PassivePointsAmount": 10, "ShopDiscount": 15}])");
    config_["ShopCategories"] = nlohmann::json::parse(R"([
      {"Name": "Kits", "IconOverride": "Texture2D'/Game/Icons/Kits.Kits'"},
      {"Name": "Members", "IncludeGroups": ["VIP"]},
      {"Name": "Odd", "ExcludeGroups": ["Banned"], "IncludeGroups": ["Banned"]}])");
    nlohmann::json packets = nlohmann::json::array();
    for (int i = 1; i <= 15; ++i) {
      char name[16];
      std::snprintf(name, sizeof(name), "Kit %02d", i);
      packets.push_back({{"ShopCategory", "Kits"}, {"PacketName", name}, {"Price", 10 * i}});
    }
    packets.push_back({{"ShopCategory", "Members"}, {"PacketName", "Member Box"}, {"Price", 5},
                       {"PlayerCooldownHours", 24}});
    config_["ShopPackets"] = packets;
  }
  void TearDown() override { testsupport::DropTablesWithPrefix(prefix_); }

  void Start() {
    fixture_.WriteConfig(config_);
    ASSERT_TRUE(fixture_.LoadAndOpenShop());
  }
  sim::Server& Server() { return fixture_.Server(); }
  sim::ClientMod& Mod() { return fixture_.Server().Mod(); }
  sim::SimPlayer& Join(const std::string& eosId, uint64_t linkedId, std::vector<std::string> groups = {}) {
    Server().SetGroups(eosId, std::move(groups));
    sim::PlayerSpec spec = sim::PlayerSpec::Of(eosId, "Char " + eosId);
    spec.LinkedPlayerId = linkedId;
    return Server().JoinPlayer(spec);
  }
  // Waits for count events of a kind to the player.
  bool WaitForEvents(const std::string& eosId, const std::string& event, std::size_t count) {
    return fixture_.TickUntil([&] { return Mod().EventsOf(eosId, event).size() >= count; });
  }
  dbtest::RawSql Sql() {
    const auto settings = testsupport::DatabaseFromEnvironment();
    return dbtest::RawSql(settings, settings.Database);
  }

  std::string prefix_;
  nlohmann::json config_;
  testsupport::ServerFixture fixture_;
};
