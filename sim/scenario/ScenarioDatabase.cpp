#include "sim/scenario/ScenarioDatabase.h"

#include "sim/scenario/ShellCommand.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <thread>

namespace sim::scenario {
namespace {

using shell::Capture;
using shell::Exported;
using shell::Quoted;

}  // namespace

ScenarioDatabase::ScenarioDatabase() : dir_(PrivateFolder("tsdb-scenario-")) {
  Run("start", false);
  const std::string env = Capture("TANDORSHOP_DB_DIR=" + Quoted(dir_) + " " + Quoted(TANDORSHOP_DB_SCRIPT) + " env");
  variables_.SetFrom(env);
  port_ = static_cast<uint16_t>(std::stoi(Exported(env, "TANDORSHOP_DB_PORT")));
  up_ = true;
}

ScenarioDatabase::~ScenarioDatabase() {
  try {
    Run("stop", false);
  } catch (const std::exception&) {
    // Already gone; the folder goes either way.
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void ScenarioDatabase::Run(const std::string& verb, bool samePort) {
  std::string line = "TANDORSHOP_DB_DIR=" + Quoted(dir_) + " ";
  if (samePort) line += "TANDORSHOP_DB_PORT_FIXED=" + std::to_string(port_) + " ";
  Capture(line + Quoted(TANDORSHOP_DB_SCRIPT) + " " + verb + " 2>&1");
}

void ScenarioDatabase::Down() {
  pid_t pid = 0;
  std::ifstream(dir_ + "/mysqld.pid") >> pid;
  if (pid <= 0) throw std::runtime_error("no database server running in " + dir_);
  ::kill(pid, SIGKILL);
  for (int i = 0; i < 500 && shell::Running(pid); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  up_ = false;
}

void ScenarioDatabase::Up() {
  Run("start", true);
  up_ = true;
}

}  // namespace sim::scenario
