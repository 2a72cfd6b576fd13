#include "ServerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

extern char** environ;

namespace storm {
namespace {

int StatusOf(int raw) {
  if (WIFEXITED(raw)) return WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
  return -1;
}

}  // namespace

ServerProcess::ServerProcess(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& outputFile) {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  const int failed = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start " + program);
}

ServerProcess::~ServerProcess() {
  if (!Finished()) {
    ::kill(pid_, SIGKILL);
    Wait();
  }
}

std::optional<int> ServerProcess::Finished() {
  if (status_) return status_;
  int raw = 0;
  if (::waitpid(pid_, &raw, WNOHANG) == pid_) status_ = StatusOf(raw);
  return status_;
}

int ServerProcess::Wait() {
  if (status_) return *status_;
  int raw = 0;
  if (::waitpid(pid_, &raw, 0) == pid_) status_ = StatusOf(raw);
  return status_.value_or(-1);
}

void ServerProcess::Kill() {
  if (Finished()) return;
  ::kill(pid_, SIGKILL);
  Wait();
}

}  // namespace storm
