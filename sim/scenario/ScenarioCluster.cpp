#include "sim/scenario/ScenarioCluster.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "sim/scenario/ShellCommand.h"

namespace sim::scenario {
namespace {

using shell::Capture;
using shell::Exported;
using shell::Quoted;

constexpr const char* kVariables[] = {"TANDORSHOP_DB_HOST", "TANDORSHOP_DB_PORT", "TANDORSHOP_DB_USER",
                                      "TANDORSHOP_DB_PASSWORD", "TANDORSHOP_DB_NAME"};

}  // namespace

ScenarioCluster::ScenarioCluster() {
  std::random_device random;
  dir_ = (std::filesystem::temp_directory_path() / ("tsdb-cluster-" + std::to_string(::getpid()) + "-" +
                                                    std::to_string(random() % 100000)))
             .string();
  for (const char* name : kVariables) {
    const char* value = std::getenv(name);
    saved_[name] = value == nullptr ? std::nullopt : std::optional<std::string>(value);
  }
  Run("start");
  const std::string env = Run("env");
  for (const char* name : kVariables) ::setenv(name, Exported(env, name).c_str(), 1);
}

ScenarioCluster::~ScenarioCluster() {
  try {
    Run("stop");
  } catch (const std::exception&) {
    // Already gone; the folder goes either way.
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
  for (const auto& [name, value] : saved_) {
    if (value) ::setenv(name.c_str(), value->c_str(), 1);
    else ::unsetenv(name.c_str());
  }
}

std::string ScenarioCluster::Run(const std::string& arguments) {
  return Capture("TANDORSHOP_CLUSTER_DIR=" + Quoted(dir_) + " " + Quoted(TANDORSHOP_CLUSTER_SCRIPT) + " " +
                 arguments + " 2>&1");
}

void ScenarioCluster::Kill(int node) { Run("kill " + std::to_string(node)); }

void ScenarioCluster::Restart(int node) { Run("restart " + std::to_string(node)); }

}  // namespace sim::scenario
