#include "ClusterNodes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace clustertest {
namespace {

std::string Capture(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string output;
  char buffer[512];
  while (const std::size_t read = std::fread(buffer, 1, sizeof(buffer), pipe.get())) output.append(buffer, read);
  return output;
}

void Script(const std::string& arguments) {
  const std::string command = std::string("'") + TANDORSHOP_CLUSTER_SCRIPT + "' " + arguments;
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: scripts/cluster " + arguments);
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : value;
}

}  // namespace

void ClusterNodes::Start() {
  Script("start");
  std::istringstream env(Capture(std::string("'") + TANDORSHOP_CLUSTER_SCRIPT + "' env"));
  for (std::string line; std::getline(env, line);) {
    const std::string prefix = "export ";
    const std::size_t equals = line.find('=');
    if (line.rfind(prefix, 0) != 0 || equals == std::string::npos) continue;
    const std::string name = line.substr(prefix.size(), equals - prefix.size());
    ::setenv(name.c_str(), line.substr(equals + 1).c_str(), 1);
  }
  if (Env("TANDORSHOP_CLUSTER_PORTS").empty()) throw std::runtime_error("scripts/cluster env printed no ports");
}

void ClusterNodes::Kill(int node) { Script("kill " + std::to_string(node)); }
void ClusterNodes::Restart(int node) { Script("restart " + std::to_string(node)); }
void ClusterNodes::Heal() { Script("start"); }

uint16_t ClusterNodes::Port(int node) {
  std::istringstream ports(Env("TANDORSHOP_CLUSTER_PORTS"));
  std::string port;
  for (int i = 1; i <= node; ++i) std::getline(ports, port, ',');
  return static_cast<uint16_t>(std::stoi(port));
}

std::string ClusterNodes::HostList() { return Env("TANDORSHOP_DB_HOST"); }

DBHelper::DBSettings ClusterNodes::Settings(const std::string& server) {
  static uint64_t generation = 5000;
  DBHelper::DBSettings settings;
  settings.server = server;
  settings.port = Port(1);
  settings.username = Env("TANDORSHOP_DB_USER");
  settings.password = Env("TANDORSHOP_DB_PASSWORD");
  settings.database = Env("TANDORSHOP_DB_NAME");
  settings.tablePrefix = "cluster";
  settings.generation = ++generation;
  return settings;
}

testsupport::DatabaseSettings Node(int node) {
  testsupport::DatabaseSettings settings = testsupport::DatabaseFromEnvironment();
  settings.Host = "127.0.0.1";
  settings.Port = ClusterNodes::Port(node);
  return settings;
}

}  // namespace clustertest
