#include "StormOptions.h"

#include <stdexcept>

namespace storm {

Options::Options()
    : ServerProgram(TANDORSHOP_STORM_SERVER),
      DbScript(TANDORSHOP_DB_SCRIPT),
      ClusterScript(TANDORSHOP_CLUSTER_SCRIPT),
      Config(TANDORSHOP_STORM_CONFIG) {}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--keep-work-dir") {
      o.KeepWorkDir = true;
      continue;
    }
    if (i + 1 >= argc) throw std::invalid_argument("missing value for " + arg);
    const std::string value = argv[++i];
    if (arg == "--server") o.ServerProgram = value;
    else if (arg == "--db-script") o.DbScript = value;
    else if (arg == "--cluster-script") o.ClusterScript = value;
    else if (arg == "--cluster") o.Cluster = value == "none" ? "" : value;
    else if (arg == "--game-servers") o.GameServers = std::stoi(value);
    else if (arg == "--log-level") o.LogLevel = value;
    else if (arg == "--config") o.Config = value;
    else if (arg == "--work-dir") o.WorkDir = value;
    else if (arg == "--players") o.Players = std::stoi(value);
    else if (arg == "--hours") o.Hours = std::stod(value);
    else if (arg == "--speed") o.Speed = std::stod(value);
    else if (arg == "--actions-per-hour") o.ActionsPerHour = std::stod(value);
    else if (arg == "--db-kills") o.Kills = std::stoi(value);
    else if (arg == "--downtime-ms") o.DowntimeMillis = std::stoi(value);
    else if (arg == "--keep-connections") o.KeepConnections = value == "true" || value == "on" || value == "1";
    else if (arg == "--grant-interval-ms") o.GrantIntervalMillis = std::stoi(value);
    else if (arg == "--seed") o.Seed = std::stoull(value);
    else if (arg == "--crash-server") o.CrashServer = value == "true" || value == "on" || value == "1";
    else if (arg == "--server-kills") o.ServerKills = std::stoi(value);
    else if (arg == "--lost-commits") o.LostCommits = std::stod(value);
    else throw std::invalid_argument("unknown option " + arg);
  }
  if (!o.Cluster.empty() && o.Cluster != "one-writer" && o.Cluster != "rotated")
    throw std::invalid_argument("--cluster is one-writer, rotated or none");
  if (o.GameServers < 2 || o.GameServers > 9) throw std::invalid_argument("--game-servers is 2 to 9");
  if (!o.Cluster.empty() && (o.LostCommits > 0 || o.CrashServer || o.ServerKills > 0))
    throw std::invalid_argument("on a cluster the storm kills database nodes only");
  return o;
}

const char kUsage[] =
    "usage: tandorshop-storm [options]\n"
    "  two simulated game servers on one private database, under load, database kills and\n"
    "  (with --crash-server true) a game server killed with kill -9 during an outage, (with\n"
    "  --server-kills N) killed at N random moments, (with --lost-commits P) commit answers\n"
    "  lost with chance P; exits 0 when the books close\n"
    "  --players N (50)  --hours H (6)  --speed X (100)  --actions-per-hour N (60)\n"
    "  --db-kills N (2)  --downtime-ms MS (2000)  --keep-connections true|false (true)\n"
    "  --crash-server true|false (false)  --server-kills N (0)  --lost-commits CHANCE (0)\n"
    "  --grant-interval-ms MS (200)  --seed N (7)  --game-servers N (2)  --log-level LEVEL\n"
    "  --cluster one-writer|rotated|none (none): on a three-node Galera cluster, the writer node\n"
    "  killed --db-kills times  --cluster-script PATH\n"
    "  --server PROGRAM  --db-script PATH  --config FILE  --work-dir DIR  --keep-work-dir\n"
    "  --help  --version\n";

}  // namespace storm
