#pragma once
// A running simulated server with a small shop, a direct client on its tables,
// and helpers to wait for the work the commands post.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "DbTestSupport.h"
#include "testsupport/Database.h"
#include "testsupport/ServerFixture.h"

namespace commandtest {

class AdminCommands : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  sim::Server& Server() { return fixture_.Server(); }
  std::string Rcon(const std::string& command);
  std::string Table(const std::string& name) const { return prefix_ + "_" + name; }

  // Points of a player as stored; "<none>" without a row.
  std::string Points(const std::string& eosId);
  void StorePoints(const std::string& eosId, int64_t points);
  // Rows of the trade log: eosid_from, eosid_to, from_name, to_name, amount, points_after_from, points_after_to.
  std::vector<std::vector<std::string>> TradeLog();
  // Held packets of a player: packetStr, amount, isRewardPacket.
  std::vector<std::vector<std::string>> Held(const std::string& eosId);

  // Ticks the server until done() holds, for at most ten seconds.
  bool WaitUntil(const std::function<bool()>& done);
  // Waits until the stored points of eosId read expected (the posted jobs ran).
  bool WaitForPoints(const std::string& eosId, const std::string& expected);
  // Unloads the plugin: every queued job has run when it returns.
  void Settle();

  std::string prefix_;
  testsupport::ServerFixture fixture_;
  dbtest::RawSql sql_{testsupport::DatabaseFromEnvironment(), testsupport::DatabaseFromEnvironment().Database};
};

}  // namespace commandtest
