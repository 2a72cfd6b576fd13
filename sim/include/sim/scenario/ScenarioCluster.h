#pragma once
// A Galera cluster of a scenario's own, for scenarios that run the shop on three
// database nodes and kill one: started with scripts/cluster in a folder of its
// own, it stands in for the shared database (TANDORSHOP_DB_* list its nodes)
// while it lives.
#include <string>

#include "sim/scenario/DatabaseVariables.h"

namespace sim::scenario {

class ScenarioCluster {
 public:
  // Starts the three nodes and points TANDORSHOP_DB_* at them. Throws when they cannot start.
  ScenarioCluster();
  // Stops the nodes, removes the folder and gives TANDORSHOP_DB_* back.
  ~ScenarioCluster();
  ScenarioCluster(const ScenarioCluster&) = delete;
  ScenarioCluster& operator=(const ScenarioCluster&) = delete;

  // kill -9 of node 1, 2 or 3.
  void Kill(int node);
  // Starts it again and waits until it is synced (it rejoins by incremental transfer).
  void Restart(int node);

 private:
  std::string Run(const std::string& arguments);

  std::string dir_;
  DatabaseVariables variables_;
};

}  // namespace sim::scenario
