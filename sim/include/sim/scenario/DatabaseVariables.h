#pragma once
// What a private database server of a scenario stands in for while it lives: the
// TANDORSHOP_DB_* variables, saved when it starts and given back when it goes,
// and the temporary folder it lives in.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "sim/scenario/ShellCommand.h"

namespace sim::scenario {

class DatabaseVariables {
 public:
  DatabaseVariables() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_[name] = value == nullptr ? std::nullopt : std::optional<std::string>(value);
    }
  }
  ~DatabaseVariables() {
    for (const auto& [name, value] : saved_) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
  }
  DatabaseVariables(const DatabaseVariables&) = delete;
  DatabaseVariables& operator=(const DatabaseVariables&) = delete;

  // From what `scripts/db env` or `scripts/cluster env` printed.
  void SetFrom(const std::string& env) {
    for (const char* name : kNames) ::setenv(name, shell::Exported(env, name).c_str(), 1);
  }

 private:
  static constexpr const char* kNames[] = {"TANDORSHOP_DB_HOST", "TANDORSHOP_DB_PORT", "TANDORSHOP_DB_USER",
                                           "TANDORSHOP_DB_PASSWORD", "TANDORSHOP_DB_NAME"};
  std::map<std::string, std::optional<std::string>> saved_;  // the environment before
};

// A folder name under the temporary directory no other process of this machine uses.
inline std::string PrivateFolder(const std::string& prefix) {
  std::random_device random;
  return (std::filesystem::temp_directory_path() /
          (prefix + std::to_string(::getpid()) + "-" + std::to_string(random() % 100000)))
      .string();
}

}  // namespace sim::scenario
