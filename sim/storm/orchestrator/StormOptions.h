#pragma once
// The storm orchestrator's command line: its options with their defaults, the
// parser and the usage text.
#include <cstdint>
#include <string>

namespace storm {

struct Options {
  // The storm server, scripts/db, scripts/cluster and the storm's config of this build.
  Options();

  std::string ServerProgram;
  std::string DbScript;
  std::string ClusterScript;
  // "" for one plain server; "one-writer" (every host list in the same order) or
  // "rotated" (each game server's list starts at a node of its own) on a Galera cluster
  std::string Cluster;
  int GameServers = 2;
  std::string LogLevel;  // the plugin's log level in the game servers ("debug" counts retries), "" keeps its own
  std::string Config;
  std::string WorkDir;
  bool KeepWorkDir = false;
  int Players = 50;
  double Hours = 6;
  double Speed = 100;
  double ActionsPerHour = 60;
  int Kills = 2;
  int DowntimeMillis = 2000;
  bool KeepConnections = true;
  int GrantIntervalMillis = 200;
  uint64_t Seed = 7;
  bool CrashServer = false;  // kill -9 one game server during the first outage
  int ServerKills = 0;       // kill -9 of a game server at random moments, each started again
  double LostCommits = 0;    // chance that the answer to a COMMIT is swallowed
};

// The options of argv (--help and --version are main's); throws std::invalid_argument
// for an unknown option, a missing value or a combination the storm does not run.
Options ParseOptions(int argc, char** argv);

// The text of --help.
extern const char kUsage[];

}  // namespace storm
