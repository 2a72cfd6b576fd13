#pragma once
// The test cluster of scripts/cluster, driven from a test: started once per
// test program, nodes killed and restarted, the connection settings exported
// as the scripts export them.
#include <cstdint>
#include <string>
#include <vector>

#include "db/DBSettings.h"
#include "testsupport/Database.h"

namespace clustertest {

class ClusterNodes {
 public:
  // Starts the cluster (or finds it running) and exports its TANDORSHOP_DB_* variables.
  static void Start();
  static void Kill(int node);
  static void Restart(int node);
  // Every node up and synced again (what a test left behind is repaired).
  static void Heal();

  // The client port of node 1, 2 or 3.
  static uint16_t Port(int node);
  // The host list of all three, "127.0.0.1:p1,127.0.0.1:p2,127.0.0.1:p3".
  static std::string HostList();
  // Settings for the shop's connections to the given list, never seen before by
  // this process (a fresh generation).
  static DBHelper::DBSettings Settings(const std::string& server);
};

// The test settings of the environment, aimed at one node alone.
testsupport::DatabaseSettings Node(int node);

}  // namespace clustertest
