#pragma once
// Console commands players run (AShooterPlayerController.ConsoleCommand): each
// call is recorded with its text, the log flag and whether the player was an
// administrator at that moment. Tests can make the game reject commands.
#include <string>
#include <vector>

namespace sim {

struct IssuedCommand {
  std::string EosId;
  std::string Text;
  bool WriteToLog = false;
  bool AdminAtCall = false;
  bool Accepted = true;
};

class ConsoleLog {
 public:
  // Commands starting with prefix (ignoring case) are rejected from now on.
  void Reject(const std::string& prefix) { rejected_.push_back(prefix); }
  bool Rejects(const std::string& text) const;
  const std::vector<IssuedCommand>& Issued() const { return issued_; }
  void Record(IssuedCommand command) { issued_.push_back(std::move(command)); }

 private:
  std::vector<std::string> rejected_;
  std::vector<IssuedCommand> issued_;
};

void RegisterConsoleCommandFunctions();

}  // namespace sim
