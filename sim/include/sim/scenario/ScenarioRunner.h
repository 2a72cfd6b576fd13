#pragma once
// Runs scenario steps against a launched server and writes the transcript:
// each command with what the server did in answer (log lines, what the mod
// received, chat and console lines, commands the game ran, Discord bodies),
// each expectation with its outcome.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "sim/scenario/ScenarioExpectations.h"
#include "sim/scenario/ScenarioHappenings.h"
#include "sim/scenario/ScenarioSteps.h"

namespace sim {
class ServerLauncher;
struct SimPlayer;
}

namespace sim::scenario {

class ScenarioDatabase;
class ScenarioCluster;

struct RunnerOptions {
  bool ShowLog = true;       // the plugin's log lines in the transcript (off when they go to the terminal)
  bool EchoCommands = true;  // each command in the transcript (off when it was just typed)
  // How long an expectation may wait for the server to get there.
  std::chrono::milliseconds ExpectTimeout = std::chrono::seconds(15);
};

class Runner {
 public:
  Runner(ServerLauncher& launcher, std::ostream& out, RunnerOptions options = {});
  ~Runner();

  // Runs one step and writes its transcript; false when it failed (an
  // expectation that did not hold, or a command that could not be carried out).
  bool Run(const Step& step);
  // The failure of the last step that failed.
  const std::string& LastFailure() const { return failure_; }
  int ExpectationsHeld() const { return held_; }
  // Writes what the server did since the last step (its start, before the first).
  void ReportHappenings();
  // The database server "database down" and "database up" act on (none: they fail).
  void UseDatabase(ScenarioDatabase* database) { database_ = database; }
  // The cluster "node kill" and "node restart" act on (none: they fail).
  void UseCluster(ScenarioCluster* cluster) { cluster_ = cluster; }

 private:
  bool Execute(const Action& action);
  bool ExecuteWorld(const Action& action);
  bool ExecuteFiles(const Action& action);
  void Settle();
  template <typename Expectation>
  bool Expect(const Expectation& expectation);
  template <typename Expectation>
  Failure WaitFor(const Expectation& expectation);
  void Join(const struct Join& join);
  SimPlayer& Online(const std::string& eosId);
  // Hands the request to the player's buff; spaced: first waits out the
  // plugin's per-kind request throttle, as a person clicking would.
  void DeliverMod(const ModRequest& request, bool spaced);
  void SendMod(const ModRequest& request);
  void SendTogether(const Together& together);
  void DeliverInTick(const Step& step);
  void SendRcon(const std::string& command);
  void SendConsole(const struct Console& console);
  void Give(const struct Give& give);

  ServerLauncher& launcher_;
  std::ostream& out_;
  RunnerOptions options_;
  std::unique_ptr<Happenings> happenings_;
  std::string lastReply_;
  std::vector<std::string> notes_;  // what a command itself has to say, shown under it
  std::string failure_;
  int held_ = 0;
  std::map<std::string, uint64_t> linkedIds_;
  std::map<std::string, int32_t> tribeIds_;
  std::map<std::string, std::vector<std::string>> groups_;  // kept across restarts
  std::map<std::pair<std::string, std::string>, int64_t> lastModRequest_;  // (player, message) -> clock ms
  RecordMarks marks_;
  ScenarioDatabase* database_ = nullptr;
  ScenarioCluster* cluster_ = nullptr;
};

// Reads a scenario file, refuses it when a line is not valid, else runs it on a
// server the launcher starts. 0: every expectation held; 1: a step failed;
// 2: the file cannot be read or is not valid (nothing ran).
int RunScenarioFile(ServerLauncher& launcher, const std::string& path, std::ostream& out);

// Reads commands from the terminal while the server runs, until stop is set or
// the input ends. Failed steps are reported and the session goes on.
void RunInteractive(ServerLauncher& launcher, std::ostream& out, const std::atomic<bool>& stop);

}  // namespace sim::scenario
