#include "StormCluster.h"

#include <chrono>
#include <map>
#include <stdexcept>
#include <thread>

#include "sim/scenario/ShellCommand.h"

namespace storm {
namespace {

using sim::shell::Exported;
using sim::shell::Quoted;

// "1111,2222,3333" -> {1111, 2222, 3333}
std::vector<uint16_t> Ports(const std::string& list) {
  std::vector<uint16_t> ports;
  std::size_t from = 0;
  while (from <= list.size()) {
    const std::size_t comma = std::min(list.find(',', from), list.size());
    ports.push_back(static_cast<uint16_t>(std::stoi(list.substr(from, comma - from))));
    from = comma + 1;
  }
  return ports;
}

// Each table's checksum on one node, in the order of tables; "down" when the node does not answer.
std::vector<std::string> Checksums(const DatabaseAddress& node, const std::vector<std::string>& tables) {
  std::vector<std::string> sums;
  for (const std::string& table : tables) {
    try {
      sums.push_back(Query(node, "CHECKSUM TABLE " + table).at(0).at(1));
    } catch (const std::exception&) {
      sums.push_back("down");
    }
  }
  return sums;
}

}  // namespace

StormCluster::StormCluster(std::string script, std::string dir) : script_(std::move(script)), dir_(std::move(dir)) {}

std::string StormCluster::Run(const std::string& command) const {
  return sim::shell::Capture("TANDORSHOP_CLUSTER_DIR=" + Quoted(dir_) + " " + Quoted(script_) + " " + command +
                             " 2>&1");
}

void StormCluster::Start() {
  Run("start");
  const std::string env = Run("env");
  DatabaseAddress common;
  common.User = Exported(env, "TANDORSHOP_DB_USER");
  common.Password = Exported(env, "TANDORSHOP_DB_PASSWORD");
  common.Name = Exported(env, "TANDORSHOP_DB_NAME");
  nodes_.clear();
  for (uint16_t port : Ports(Exported(env, "TANDORSHOP_CLUSTER_PORTS"))) {
    DatabaseAddress node = common;
    node.Port = port;
    nodes_.push_back(node);
  }
  if (nodes_.size() != Nodes) throw std::runtime_error("scripts/cluster env did not name " + std::to_string(Nodes) + " nodes");
}

void StormCluster::Stop() { Run("stop"); }
void StormCluster::Kill(int node) { Run("kill " + std::to_string(node)); }
void StormCluster::Restart(int node) { Run("restart " + std::to_string(node)); }

std::string StormCluster::HostList(int first) const {
  std::string list;
  for (int i = 0; i < Nodes; ++i) {
    const DatabaseAddress& node = nodes_.at((first - 1 + i) % Nodes);
    list += (list.empty() ? "" : ",") + node.Host + ":" + std::to_string(node.Port);
  }
  return list;
}

DatabaseAddress StormCluster::Answering(int avoid) const {
  for (int round = 0; round < 2; ++round)
    for (int n = 1; n <= Nodes; ++n) {
      if (round == 0 && n == avoid) continue;
      try {
        Query(Address(n), "SELECT 1");
        return Address(n);
      } catch (const std::exception&) {
      }
    }
  throw std::runtime_error("no node of the cluster answers");
}

std::vector<std::string> ShopTables(const DatabaseAddress& address, const std::string& prefix) {
  std::vector<std::string> tables;
  for (const auto& row : Query(address, "SHOW TABLES LIKE '" + prefix + "\\_%'")) tables.push_back(row.at(0));
  return tables;
}

std::vector<std::string> TablesThatDiffer(const StormCluster& cluster, const std::vector<std::string>& tables,
                                          int timeoutMillis) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMillis);
  while (true) {
    std::vector<std::vector<std::string>> sums;
    for (int n = 1; n <= StormCluster::Nodes; ++n) sums.push_back(Checksums(cluster.Address(n), tables));
    std::vector<std::string> differ;
    for (std::size_t t = 0; t < tables.size(); ++t) {
      bool same = sums[0][t] != "down";
      std::string figures;
      for (std::size_t n = 0; n < sums.size(); ++n) {
        same = same && sums[n][t] == sums[0][t];
        figures += (n == 0 ? "" : " / ") + sums[n][t];
      }
      if (!same) differ.push_back(tables[t] + ": " + figures);
    }
    if (differ.empty() || std::chrono::steady_clock::now() > deadline) return differ;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

}  // namespace storm
