#pragma once
// The storm's own three-node Galera cluster, started through scripts/cluster in
// a folder of its own: the game servers' host lists (one writer, or each server
// on a node of its own), a node killed with kill -9 and started again, and the
// closing comparison of every shop table across the nodes.
#include <cstdint>
#include <string>
#include <vector>

#include "PrivateDatabase.h"

namespace storm {

class StormCluster {
 public:
  static constexpr int Nodes = 3;

  StormCluster(std::string script, std::string dir);

  // Starts the three nodes (node 1 bootstraps, 2 and 3 join) and reads their ports.
  void Start();
  void Stop();
  // kill -9 of node n (1 to Nodes); returns once the process is gone.
  void Kill(int node);
  // Starts node n again and returns once it is synced (it rejoins by incremental transfer).
  void Restart(int node);

  const DatabaseAddress& Address(int node) const { return nodes_.at(node - 1); }
  // "127.0.0.1:p1,127.0.0.1:p2,127.0.0.1:p3" starting at node first (1 for every server: one writer).
  std::string HostList(int first) const;
  // The address of a node that answers a query now, preferring others than avoid; throws when none does.
  DatabaseAddress Answering(int avoid = 0) const;

 private:
  std::string Run(const std::string& command) const;

  std::string script_;
  std::string dir_;
  std::vector<DatabaseAddress> nodes_;
};

// The tables whose names start with prefix + "_".
std::vector<std::string> ShopTables(const DatabaseAddress& address, const std::string& prefix);
// CHECKSUM TABLE of each of the tables on each node, until every node gives the
// same figures (a node applies what the others committed a moment later) or the
// time is up; returns the tables that still differ, with each node's figure.
std::vector<std::string> TablesThatDiffer(const StormCluster& cluster, const std::vector<std::string>& tables,
                                          int timeoutMillis);

}  // namespace storm
