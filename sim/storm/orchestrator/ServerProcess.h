#pragma once
// One storm server as a child process, its output in a file of its folder.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace storm {

class ServerProcess {
 public:
  ServerProcess(const std::string& program, const std::vector<std::string>& arguments, const std::string& outputFile);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // The exit status once it ended (a signal gives 128 + its number).
  std::optional<int> Finished();
  int Wait();
  // kill -9, as a crash of the game server; returns when the process is gone.
  void Kill();

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace storm
