#pragma once
// Running the project's scripts from a test program: quoting for the shell,
// capturing what a command printed, reading the exports it printed, and telling
// whether a process still runs. For the private database servers of scenarios
// and the storm.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace sim::shell {

inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command line and returns what it printed; throws when it fails.
inline std::string Capture(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string output;
  char chunk[4096];
  while (const std::size_t got = std::fread(chunk, 1, sizeof(chunk), pipe.get())) output.append(chunk, got);
  const int status = ::pclose(pipe.release());
  if (status != 0) throw std::runtime_error("failed (" + std::to_string(status) + "): " + command + "\n" + output);
  return output;
}

// The value of "export NAME=value" in what scripts/db env printed, without quotes.
inline std::string Exported(const std::string& env, const std::string& name) {
  const std::string key = "export " + name + "=";
  const std::size_t at = env.find(key);
  if (at == std::string::npos) throw std::runtime_error("scripts/db env does not name " + name);
  std::string value = env.substr(at + key.size(), env.find('\n', at) - at - key.size());
  if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"')) value = value.substr(1, value.size() - 2);
  return value;
}

// False once the process is gone, or a zombie nobody reaped yet (its sockets are closed either way).
inline bool Running(pid_t pid) {
  if (::kill(pid, 0) != 0) return false;
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pidText, name, state;
  stat >> pidText >> name >> state;
  return state != "Z";
}

}  // namespace sim::shell
