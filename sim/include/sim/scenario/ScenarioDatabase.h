#pragma once
// A database server of a scenario's own, for scenarios that take the database
// down and bring it back: started with scripts/db in a folder of its own, it
// stands in for the shared one (TANDORSHOP_DB_* point at it) while it lives.
#include <cstdint>
#include <string>

#include "sim/scenario/DatabaseVariables.h"

namespace sim::scenario {

class ScenarioDatabase {
 public:
  // Starts the server and points TANDORSHOP_DB_* at it. Throws when it cannot start.
  ScenarioDatabase();
  // Stops the server, removes its folder and gives TANDORSHOP_DB_* back.
  ~ScenarioDatabase();
  ScenarioDatabase(const ScenarioDatabase&) = delete;
  ScenarioDatabase& operator=(const ScenarioDatabase&) = delete;

  // Kills the server (no goodbye to its clients); Up starts it again on the same port and data.
  void Down();
  void Up();
  bool IsUp() const { return up_; }

 private:
  void Run(const std::string& verb, bool samePort);

  std::string dir_;
  uint16_t port_ = 0;
  bool up_ = false;
  DatabaseVariables variables_;
};

}  // namespace sim::scenario
