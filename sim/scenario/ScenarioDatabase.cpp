#include "sim/scenario/ScenarioDatabase.h"

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

constexpr const char* kVariables[] = {"TANDORSHOP_DB_HOST", "TANDORSHOP_DB_PORT", "TANDORSHOP_DB_USER",
                                      "TANDORSHOP_DB_PASSWORD", "TANDORSHOP_DB_NAME"};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Capture(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string output;
  char chunk[4096];
  while (const std::size_t got = std::fread(chunk, 1, sizeof(chunk), pipe.get())) output.append(chunk, got);
  const int status = ::pclose(pipe.release());
  if (status != 0) throw std::runtime_error("database server: " + command + " failed\n" + output);
  return output;
}

// The value of "export NAME=value" in what scripts/db env printed.
std::string Exported(const std::string& env, const std::string& name) {
  const std::string key = "export " + name + "=";
  const std::size_t at = env.find(key);
  if (at == std::string::npos) throw std::runtime_error("scripts/db env does not name " + name);
  std::string value = env.substr(at + key.size(), env.find('\n', at) - at - key.size());
  if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"')) value = value.substr(1, value.size() - 2);
  return value;
}

bool Alive(pid_t pid) {
  if (::kill(pid, 0) != 0) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pidText, name, state;
  stat >> pidText >> name >> state;
  return state != "Z";
}

}  // namespace

ScenarioDatabase::ScenarioDatabase() {
  std::random_device random;
  dir_ = (std::filesystem::temp_directory_path() / ("tsdb-scenario-" + std::to_string(::getpid()) + "-" +
                                                    std::to_string(random() % 100000)))
             .string();
  for (const char* name : kVariables) {
    const char* value = std::getenv(name);
    saved_[name] = value == nullptr ? std::nullopt : std::optional<std::string>(value);
  }
  Run("start", false);
  const std::string env = Capture("TANDORSHOP_DB_DIR=" + Quoted(dir_) + " " + Quoted(TANDORSHOP_DB_SCRIPT) + " env");
  for (const char* name : kVariables) ::setenv(name, Exported(env, name).c_str(), 1);
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
  for (const auto& [name, value] : saved_) {
    if (value) ::setenv(name.c_str(), value->c_str(), 1);
    else ::unsetenv(name.c_str());
  }
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
  for (int i = 0; i < 500 && Alive(pid); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  up_ = false;
}

void ScenarioDatabase::Up() {
  Run("start", true);
  up_ = true;
}

}  // namespace sim::scenario
