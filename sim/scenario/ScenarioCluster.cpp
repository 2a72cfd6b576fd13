#include "sim/scenario/ScenarioCluster.h"

#include <filesystem>

#include "sim/scenario/ShellCommand.h"

namespace sim::scenario {
namespace {

using shell::Capture;
using shell::Quoted;

}  // namespace

ScenarioCluster::ScenarioCluster() : dir_(PrivateFolder("tsdb-cluster-")) {
  Run("start");
  variables_.SetFrom(Run("env"));
}

ScenarioCluster::~ScenarioCluster() {
  try {
    Run("stop");
  } catch (const std::exception&) {
    // Already gone; the folder goes either way.
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ScenarioCluster::Run(const std::string& arguments) {
  return Capture("TANDORSHOP_CLUSTER_DIR=" + Quoted(dir_) + " " + Quoted(TANDORSHOP_CLUSTER_SCRIPT) + " " +
                 arguments + " 2>&1");
}

void ScenarioCluster::Kill(int node) { Run("kill " + std::to_string(node)); }

void ScenarioCluster::Restart(int node) { Run("restart " + std::to_string(node)); }

}  // namespace sim::scenario
