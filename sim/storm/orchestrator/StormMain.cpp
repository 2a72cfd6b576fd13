// tandorshop-storm: two simulated game servers, as two processes with their own
// server ids, share one private MariaDB server the way a cluster shares its shop.
// Their players buy, sell, trade across the servers and redeem; an admin grants
// points over RCON; the database is killed and restarted on the same port during
// the storm; with --crash-server one game server is killed with kill -9 while the
// database is down and started again once it is back; with --server-kills N a
// game server is killed with kill -9 at N random moments and started again; with
// --lost-commits P the servers reach the database through a faulty link that
// swallows the answer to a COMMIT with chance P. At the end the books are closed
// against the database and a table is printed. Exit code 0 when everything adds
// up to the point and the unit.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <regex>
#include <set>
#include <thread>

#include "AdminGrants.h"
#include "Books.h"
#include "PrivateDatabase.h"
#include "ServerProcess.h"
#include "StormClock.h"
#include "StormCluster.h"
#include "StormReport.h"
#include "StormRoster.h"
#include "sim/faultylink/FaultyLink.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Options {
  std::string ServerProgram = TANDORSHOP_STORM_SERVER;
  std::string DbScript = TANDORSHOP_DB_SCRIPT;
  std::string ClusterScript = TANDORSHOP_CLUSTER_SCRIPT;
  // "" for one plain server; "one-writer" (every host list in the same order) or
  // "rotated" (each game server's list starts at a node of its own) on a Galera cluster
  std::string Cluster;
  int GameServers = 2;
  std::string LogLevel;  // the plugin's log level in the game servers ("debug" counts retries), "" keeps its own
  std::string Config = TANDORSHOP_STORM_CONFIG;
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

Options Parse(int argc, char** argv) {
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

constexpr int kKilledNode = 1;  // the writer node: every server's in one-writer mode, server 1's when rotated
constexpr int kCrashedServer = 2;

struct FaultWindow {
  int64_t FromMillis = 0;  // the kill
  int64_t ToMillis = 0;    // the server answers again
};
constexpr char kPrefix[] = "storm";

// What happens to the storm when it reached a share of its simulated time.
struct Fault {
  double At = 0;
  int DatabaseKill = 0;  // the number of a database kill, or 0
  int ServerId = 0;      // the game server killed with kill -9 instead
  int ExtraMillis = 0;   // the kill waits this long after the share was reached, so it lands anywhere in a tick
  bool WhileOwing = false;  // the kill waits (a while) until the server has a charge or a redeem unsettled
};

// The database kills at even shares of the run; the server kills at random ones.
std::vector<Fault> PlanFaults(const Options& o) {
  const int kServerIds[2] = {1, o.GameServers};
  std::vector<Fault> plan;
  for (int k = 1; k <= o.Kills; ++k) plan.push_back({static_cast<double>(k) / (o.Kills + 1), k, 0, 0});
  std::mt19937_64 random(o.Seed * 7919 + 13);
  std::uniform_real_distribution<double> share(0.05, 0.9);
  std::uniform_int_distribution<int> server(kServerIds[0], kServerIds[1]);
  std::uniform_int_distribution<int> extra(0, 400);
  // Every other kill aims at the moment between a charge (or a redeem) and its delivery.
  for (int k = 0; k < o.ServerKills; ++k)
    plan.push_back({share(random), 0, server(random), extra(random), k % 2 == 1});
  std::stable_sort(plan.begin(), plan.end(), [](const Fault& a, const Fault& b) { return a.At < b.At; });
  return plan;
}

class Storm {
 public:
  explicit Storm(Options options) : o_(std::move(options)), db_(o_.DbScript, o_.WorkDir + "/db") {
    for (int id = 1; id <= o_.GameServers; ++id) serverIds_.push_back(id);
    if (!o_.Cluster.empty()) cluster_ = std::make_unique<storm::StormCluster>(o_.ClusterScript, o_.WorkDir + "/cluster");
    if (!o_.LogLevel.empty()) ::setenv("TANDORSHOP_LOG_LEVEL", o_.LogLevel.c_str(), 1);
  }

  int Run() {
    if (cluster_) {
      Log("starting the private Galera cluster in " + o_.WorkDir + "/cluster");
      cluster_->Start();
    } else {
      Log("starting the private database in " + o_.WorkDir + "/db");
      db_.Start();
    }
    dbStarted_ = true;
    if (o_.LostCommits > 0) link_ = std::make_unique<sim::faultylink::FaultyLink>(db_.Address().Host, db_.Address().Port);
    StartServers();
    WaitForPlayers();
    storm::AdminGrants grants(RconServers(), o_.Seed * 31 + 1, o_.GrantIntervalMillis);
    grants_ = &grants;
    grants.Start();
    const int64_t stormFrom = storm::WallMillis();
    if (link_) link_->DropCommitsAtRandom(o_.LostCommits, static_cast<uint32_t>(o_.Seed));
    for (const Fault& fault : PlanFaults(o_)) {
      WaitForProgress(fault.At);
      std::this_thread::sleep_for(std::chrono::milliseconds(fault.ExtraMillis));
      if (fault.DatabaseKill > 0)
        KillDatabase(fault.DatabaseKill);
      else
        KillServer(fault.ServerId, fault.WhileOwing);
    }
    WaitForProgress(1.0);
    facts_.StormSeconds = static_cast<double>(DoneMillis() - stormFrom) / 1000.0;
    grants.Stop();
    grants_ = nullptr;
    facts_.Grants = grants.Grants();
    if (link_) {
      link_->DropCommitsAtRandom(0);
      facts_.CommitsSeen = link_->CommitsSeen();
      facts_.CommitsDropped = link_->CommitsDropped();
    }
    Finish();
    if (cluster_) CompareNodes();  // first: once the nodes agree, any of them has every commit for the books
    CloseBooks();
    storm::PrintReport(facts_);
    return facts_.Books.Closed() && facts_.Problems.empty() ? 0 : 1;
  }

  ~Storm() {
    servers_.clear();
    try {
      if (cluster_ && dbStarted_) cluster_->Stop();
      if (!cluster_ && dbStarted_) db_.Stop();
    } catch (const std::exception& e) {
      std::cerr << "storm: " << e.what() << "\n";
    }
  }

 private:
  static void Log(const std::string& text) { std::cout << "storm: " << text << std::endl; }
  fs::path ServerDir(int id) const { return fs::path(o_.WorkDir) / ("server" + std::to_string(id)); }

  // The database the orchestrator reads: the private server, or a node of the
  // cluster that answers (not the one it killed).
  storm::DatabaseAddress Db() const { return cluster_ ? cluster_->Answering(downNode_) : db_.Address(); }

  // One writer: every list in the node order. Rotated: server i starts at node i.
  std::string ClusterHosts(int id) const {
    return cluster_->HostList(o_.Cluster == "rotated" ? (id - 1) % storm::StormCluster::Nodes + 1 : 1);
  }

  void InstallConfig(int id) {
    nlohmann::json config = nlohmann::json::parse(std::ifstream(o_.Config));
    const storm::DatabaseAddress db = cluster_ ? cluster_->Address(1) : db_.Address();
    // Through the faulty link when commit answers are to be lost.
    const std::string host = link_ ? sim::faultylink::FaultyLink::Host() : cluster_ ? ClusterHosts(id) : db.Host;
    const uint16_t port = link_ ? link_->Port() : db.Port;
    config["Mysql"] = {{"server", host},        {"port", port},          {"username", db.User},
                       {"password", db.Password}, {"database", db.Name}, {"tablePrefix", kPrefix},
                       {"KeepConnections", o_.KeepConnections}};
    const fs::path folder = ServerDir(id) / "ArkApi" / "Plugins" / "TandorShop";
    fs::create_directories(folder);
    std::ofstream(folder / "config.json") << config.dump(2);
  }

  void StartServer(int id, const std::string& output) {
    const int peer = id % o_.GameServers + 1;  // trades go to the next server's players
    std::vector<std::string> args{"--server-dir", ServerDir(id).string(), "--server-id", std::to_string(id),
                                  "--players", std::to_string(o_.Players), "--peer-server-id", std::to_string(peer),
                                  "--peer-players", std::to_string(o_.Players), "--hours", std::to_string(o_.Hours),
                                  "--speed", std::to_string(o_.Speed), "--actions-per-hour",
                                  std::to_string(o_.ActionsPerHour), "--seed", std::to_string(o_.Seed * 100 + id)};
    servers_[id] = std::make_unique<storm::ServerProcess>(o_.ServerProgram, args, (ServerDir(id) / output).string());
  }

  void WaitForReady(int id) {
    const fs::path ready = ServerDir(id) / storm::ReadyFile;
    Until([&] { return fs::exists(ready); }, 180s, "server " + std::to_string(id) + " to be ready");
    rconPorts_[id] = nlohmann::json::parse(std::ifstream(ready))["rconPort"];
  }

  void StartServers() {
    for (int id : serverIds_) {
      InstallConfig(id);
      StartServer(id, "storm-server.out");
    }
    for (int id : serverIds_) WaitForReady(id);
    Log(std::to_string(o_.GameServers) + " servers are up");
  }

  std::vector<storm::RconServer> RconServers() const {
    std::vector<storm::RconServer> servers;
    for (int id : serverIds_) servers.push_back({id, rconPorts_.at(id), o_.Players});
    return servers;
  }

  // Every player's row and login reward is stored before the admin starts granting.
  void WaitForPlayers() {
    const std::string count = "SELECT (SELECT COUNT(*) FROM " + std::string(kPrefix) + "_player_points) + (SELECT "
                              "COUNT(*) FROM " + kPrefix + "_player_redeems)";
    Until([&] { return storm::Number(storm::Query(Db(), count)[0][0]) >= 2 * o_.GameServers * o_.Players; }, 60s,
          "the players' rows");
  }

  void Until(const std::function<bool()>& done, std::chrono::seconds timeout, const std::string& what) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
      for (auto& [id, server] : servers_)
        if (auto status = server->Finished())
          throw std::runtime_error("server " + std::to_string(id) + " ended (" + std::to_string(*status) +
                                   ") while waiting for " + what + "; see " +
                                   (ServerDir(id) / "storm-server.out").string());
      if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("timed out waiting for " + what);
      std::this_thread::sleep_for(50ms);
    }
  }

  int64_t Progress(int id) const {
    std::ifstream in(ServerDir(id) / storm::ProgressFile);
    std::string word;
    in >> word;
    if (word == "done") return static_cast<int64_t>(o_.Hours * 3600);
    return word.empty() ? 0 : std::stoll(word);
  }

  void WaitForProgress(double fraction) {
    const auto target = static_cast<int64_t>(fraction * o_.Hours * 3600);
    Until([&] { return std::all_of(serverIds_.begin(), serverIds_.end(), [&](int id) { return Progress(id) >= target; }); },
          std::chrono::hours(6),
          "the storm to reach " + std::to_string(target) + " simulated seconds");
  }

  int64_t LoggedRows(int id) {
    const std::string where = " WHERE serverid=" + std::to_string(id);
    return storm::Number(storm::Query(Db(), "SELECT (SELECT COUNT(*) FROM " + std::string(kPrefix) +
                                                         "_shoplog" + where + ") + (SELECT COUNT(*) FROM " + kPrefix +
                                                         "_tradelog" + where + ")")[0][0]);
  }

  // kill -9, a pause, and the server back on the same port; the game servers are not told.
  void KillDatabase(int k) {
    if (cluster_) return KillNode(k);
    std::map<int, int64_t> before;
    for (int id : serverIds_) before[id] = Progress(id);
    const int64_t bought = Purchases();
    FaultWindow window;
    window.FromMillis = storm::WallMillis();
    db_.Kill();
    Log("database killed (" + std::to_string(k) + " of " + std::to_string(o_.Kills) + ")");
    const bool crash = o_.CrashServer && k == 1;
    if (crash) {
      std::this_thread::sleep_for(std::chrono::milliseconds(o_.DowntimeMillis / 3));
      CrashServer();
      std::this_thread::sleep_for(std::chrono::milliseconds(o_.DowntimeMillis - o_.DowntimeMillis / 3));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(o_.DowntimeMillis));
    }
    db_.Start();
    window.ToMillis = storm::WallMillis();
    facts_.DeathToPurchaseMillis.push_back(MillisToNextPurchase(bought, window.FromMillis));
    faults_.push_back(window);
    ++facts_.KillsDone;
    Log("database back on port " + std::to_string(db_.Address().Port) + " after " +
        std::to_string(window.ToMillis - window.FromMillis) + " ms");
    for (int id : serverIds_) {
      const bool crashedHere = crash && id == kCrashedServer;  // it did not tick while it was dead
      facts_.TickedThroughFaults[id] = (facts_.KillsDone == 1 || facts_.TickedThroughFaults[id]) &&
                                       (crashedHere || Progress(id) > before[id]);
    }
    if (crash) RestartServer(kCrashedServer);
    for (int id : serverIds_) rowsAfterRestart_[id] = LoggedRows(id);
  }

  // kill -9 of the writer node under load; the cluster goes on without it, and it
  // is started again after the downtime (it rejoins by incremental transfer).
  void KillNode(int k) {
    // A node's restart under load can outlast the rest of a short storm: a kill
    // after the end would measure nothing.
    if (AllDone()) return Log("the servers ended their hours before kill " + std::to_string(k) + "; node left alone");
    std::map<int, int64_t> before;
    for (int id : serverIds_) before[id] = Progress(id);
    const int64_t bought = Purchases();
    FaultWindow window;
    window.FromMillis = storm::WallMillis();
    cluster_->Kill(kKilledNode);
    downNode_ = kKilledNode;
    Log("node " + std::to_string(kKilledNode) + " killed (" + std::to_string(k) + " of " + std::to_string(o_.Kills) + ")");
    const int64_t waited = MillisToNextPurchase(bought, window.FromMillis);
    facts_.DeathToPurchaseMillis.push_back(waited);
    Log("the next purchase committed " + std::to_string(waited) + " ms after the kill");
    const int64_t restartAt = window.FromMillis + o_.DowntimeMillis;
    if (storm::WallMillis() < restartAt) std::this_thread::sleep_for(std::chrono::milliseconds(restartAt - storm::WallMillis()));
    cluster_->Restart(kKilledNode);
    downNode_ = 0;
    window.ToMillis = storm::WallMillis();
    faults_.push_back(window);
    ++facts_.KillsDone;
    Log("node " + std::to_string(kKilledNode) + " synced again " + std::to_string(window.ToMillis - window.FromMillis) +
        " ms after the kill");
    for (int id : serverIds_)
      facts_.TickedThroughFaults[id] = (facts_.KillsDone == 1 || facts_.TickedThroughFaults[id]) && Progress(id) > before[id];
    if (!AllDone())  // else nothing is left to serve after the restart
      for (int id : serverIds_) rowsAfterRestart_[id] = LoggedRows(id);
  }

  // When the last server wrote "done" into its progress file (the end of its
  // simulated hours), in wall milliseconds: the faults may keep the orchestrator longer.
  int64_t DoneMillis() const {
    int64_t last = 0;
    for (int id : serverIds_) {
      const auto written = fs::last_write_time(ServerDir(id) / storm::ProgressFile);
      const auto wall = std::chrono::file_clock::to_sys(written);
      last = std::max<int64_t>(last, std::chrono::duration_cast<std::chrono::milliseconds>(wall.time_since_epoch()).count());
    }
    return last;
  }

  bool AllDone() const {
    const auto end = static_cast<int64_t>(o_.Hours * 3600);
    return std::all_of(serverIds_.begin(), serverIds_.end(), [&](int id) { return Progress(id) >= end; });
  }

  int64_t Purchases() {
    return storm::Number(storm::Query(Db(), "SELECT COUNT(*) FROM " + std::string(kPrefix) + "_shoplog WHERE isBuy=1")[0][0]);
  }

  // Polls until a purchase beyond the bought ones is committed; the time since
  // the death, or -1 when none came within two minutes or the servers had ended
  // their simulated hours.
  int64_t MillisToNextPurchase(int64_t bought, int64_t deathMillis) {
    const auto deadline = std::chrono::steady_clock::now() + 120s;
    while (std::chrono::steady_clock::now() < deadline && !AllDone()) {
      try {
        if (Purchases() > bought) return storm::WallMillis() - deathMillis;
      } catch (const std::exception&) {
        // the nodes left refuse reads until they form a primary component again
      }
      std::this_thread::sleep_for(20ms);
    }
    return -1;
  }

  // Every shop table the same on every node at the end.
  void CompareNodes() {
    const std::vector<std::string> tables = storm::ShopTables(cluster_->Address(1), kPrefix);
    facts_.TablesCompared = static_cast<int>(tables.size());
    for (const std::string& differ : storm::TablesThatDiffer(*cluster_, tables, 60000))
      facts_.Problems.push_back("CHECKSUM TABLE differs across the nodes: " + differ);
  }

  // kill -9 of one game server while the database is away: what it had in hand
  // (work queued for the database, results not handed back) dies with it.
  void CrashServer() {
    grants_->Pause(kCrashedServer);
    servers_[kCrashedServer]->Kill();
    facts_.CrashedServer = kCrashedServer;
    ++facts_.ServerKills[kCrashedServer];
    Log("server " + std::to_string(kCrashedServer) + " killed with kill -9 while the database is down");
  }

  // kill -9 of a game server at whatever it was doing (a charge on its way, goods
  // between charge and delivery, a settlement, a reward), and started again: its
  // start settles what the killed one owed. The admin's grant to it is let finish
  // first, so that every grant has its reply.
  void KillServer(int id, bool whileOwing) {
    grants_->Pause(id);
    const bool owing = whileOwing && WaitUntilOwing(id);
    servers_[id]->Kill();
    const int kills = ++facts_.ServerKills[id];
    if (owing) ++facts_.KilledWhileOwing;
    Log("server " + std::to_string(id) + " killed with kill -9 (" + std::to_string(kills) + ")" +
        (owing ? " with a charge or a redeem unsettled" : ""));
    RestartServer(id);
    rowsAfterRestart_[id] = LoggedRows(id);
  }

  // Up to ten seconds for the server to have a settlement row open; true when it has.
  bool WaitUntilOwing(int id) {
    const std::string owing = "SELECT COUNT(*) FROM " + std::string(kPrefix) + "_settlements WHERE state=0 AND "
                              "serverId=" + std::to_string(id);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline)
      if (storm::Number(storm::Query(Db(), owing)[0][0]) > 0) return true;
    return false;
  }

  // Started again on the same folder; it reads its journal and goes on with the storm.
  void RestartServer(int id) {
    // Who no longer holds the login reward gets it again when they join the new server.
    std::set<std::string> holding;
    for (const auto& row : storm::Query(Db(), "SELECT eosId FROM " + std::string(kPrefix) +
                                                           "_player_redeems WHERE packetStr='" + storm::HeldReward +
                                                           ",1'"))
      holding.insert(row[0]);
    for (int i = 0; i < o_.Players; ++i) {
      const std::string eosId = storm::EosIdOf(id, i);
      if (holding.count(eosId) == 0) heldGrantedAgain_[eosId] += storm::HeldRewardAtLogin;
    }
    fs::remove(ServerDir(id) / storm::ReadyFile);
    const int lives = ++restarts_[id];
    StartServer(id, "storm-server-restarted" + (lives == 1 ? std::string() : "-" + std::to_string(lives)) + ".out");
    WaitForReady(id);
    grants_->Resume(id, rconPorts_.at(id));
    Log("server " + std::to_string(id) + " started again");
  }

  void Finish() {
    for (int id : serverIds_) std::ofstream(ServerDir(id) / storm::FinishFile) << "finish\n";
    for (auto& [id, server] : servers_) facts_.ExitCodes[id] = server->Wait();
    for (int id : serverIds_) {
      const fs::path summary = ServerDir(id) / storm::SummaryFile;
      if (facts_.ExitCodes[id] != 0 || !fs::exists(summary))
        throw std::runtime_error("server " + std::to_string(id) + " ended with " +
                                 std::to_string(facts_.ExitCodes[id]) + "; see " +
                                 (ServerDir(id) / "storm-server.out").string());
      facts_.Summaries[id] = nlohmann::json::parse(std::ifstream(summary));
    }
  }

  // Each line "<packet>,<time of use>" for a packet with a server cooldown, in the storm's time.
  std::string CheckCooldownFile(int id) {
    std::ifstream in(ServerDir(id) / "ArkApi" / "Plugins" / "TandorShop" / "packetCds.txt");
    if (!in) return "missing";
    const nlohmann::json& summary = facts_.Summaries[id];
    const int64_t end = summary["clockAtEnd"], start = end - summary["simulatedSeconds"].get<int64_t>() - 600;
    static const std::regex line("^Sunrise,([0-9]+)$");
    std::string text;
    int lines = 0;
    while (std::getline(in, text)) {
      std::smatch match;
      ++lines;
      if (!std::regex_match(text, match, line)) return "torn line: " + text;
      const int64_t used = std::stoll(match[1].str());
      if (used < start || used > end + 5) return "time out of range: " + text;
    }
    return "intact, " + std::to_string(lines) + (lines == 1 ? " line" : " lines");
  }

  void CloseBooks() {
    storm::BooksInput input;
    input.Database = Db();
    input.Prefix = kPrefix;
    input.Speed = o_.Speed;
    input.Summaries = facts_.Summaries;
    for (int id : serverIds_) input.Players[id] = o_.Players;
    input.Grants = facts_.Grants;
    input.HeldGrantedAgain = heldGrantedAgain_;
    input.ServerKills = facts_.ServerKills;
    facts_.Books = storm::CloseBooks(input);
    facts_.Players = o_.Players;
    facts_.Hours = o_.Hours;
    facts_.KeepConnections = o_.KeepConnections;
    facts_.KillsPlanned = o_.Kills;
    facts_.LostCommitChance = o_.LostCommits;
    facts_.Database = cluster_ ? "a three-node Galera cluster, " + o_.Cluster : "one plain server";
    for (int id : serverIds_) {
      facts_.CooldownFiles[id] = CheckCooldownFile(id);
      if (facts_.CooldownFiles[id].rfind("intact", 0) != 0)
        facts_.Problems.push_back("server " + std::to_string(id) + " cooldown file: " + facts_.CooldownFiles[id]);
      if (o_.Kills > 0 || facts_.ServerKills.count(id) > 0) {
        facts_.ResumedAfterFaults[id] = LoggedRows(id) > rowsAfterRestart_[id];
        if (!facts_.ResumedAfterFaults[id])
          facts_.Problems.push_back("server " + std::to_string(id) + " logged nothing after the last restart");
      }
      if (o_.Kills > 0 && !facts_.TickedThroughFaults[id])
        facts_.Problems.push_back("server " + std::to_string(id) + " stopped ticking while the database was down");
      for (const auto& error : facts_.Summaries[id]["hostErrors"])
        facts_.Problems.push_back("server " + std::to_string(id) + " host error: " + error.get<std::string>());
      for (const auto& error : facts_.Summaries[id]["modLayoutErrors"])
        facts_.Problems.push_back("server " + std::to_string(id) + " mod event layout: " + error.get<std::string>());
    }
    CheckFailuresLogged();
  }

  // Every grant or reward lost to a database kill left a failure line; without
  // faults there are none; what a fault leaves to settle is logged as settled;
  // nothing else is worth a warning.
  void CheckFailuresLogged() {
    const bool faults = o_.Kills > 0 || o_.ServerKills > 0 || o_.CrashServer || o_.LostCommits > 0;
    int64_t failureLines = 0;
    for (int id : serverIds_)
      for (const auto& [kind, count] : facts_.Summaries[id]["logLines"].items()) {
        if (storm::IsFailureLine(kind))
          failureLines += count.get<int64_t>();
        else if (!faults || !storm::IsRecoveryLine(kind))
          facts_.Problems.push_back("server " + std::to_string(id) + " logged " + kind);
      }
    // On a cluster a killed node may cost nothing but retries.
    if (o_.Kills > 0 && failureLines == 0 && !cluster_)
      facts_.Problems.push_back("the database was killed, but no failure was logged");
    if (o_.Kills == 0 && o_.LostCommits <= 0 && failureLines > 0)
      facts_.Problems.push_back("database failures were logged although the database never went away");
    if (o_.LostCommits > 0 && facts_.CommitsDropped == 0)
      facts_.Problems.push_back("no commit answer was lost on the faulty link");
  }

  Options o_;
  std::vector<int> serverIds_;  // the game servers, 1 to GameServers
  storm::PrivateDatabase db_;
  std::unique_ptr<storm::StormCluster> cluster_;  // instead of db_ on a cluster
  bool dbStarted_ = false;
  int downNode_ = 0;  // the node killed and not yet back
  std::unique_ptr<sim::faultylink::FaultyLink> link_;  // between the servers and the database, or none
  std::map<int, std::unique_ptr<storm::ServerProcess>> servers_;
  std::map<int, uint16_t> rconPorts_;
  std::map<int, int64_t> rowsAfterRestart_;
  std::vector<FaultWindow> faults_;
  storm::AdminGrants* grants_ = nullptr;
  std::map<std::string, int64_t> heldGrantedAgain_;
  std::map<int, int> restarts_;
  storm::StormFacts facts_;
};

}  // namespace

constexpr const char* kUsage =
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

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") return std::cout << kUsage, 0;
    if (arg == "--version") return std::cout << "tandorshop-storm " << TANDORSHOP_PROJECT_VERSION << "\n", 0;
  }
  Options options;
  try {
    options = Parse(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-storm: " << e.what() << "\n";
    return 2;
  }
  bool madeWorkDir = false;
  if (options.WorkDir.empty()) {
    std::string pattern = (fs::temp_directory_path() / "tandorshop-storm-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return 2;
    options.WorkDir = pattern;
    madeWorkDir = true;
  }
  options.WorkDir = fs::absolute(options.WorkDir).string();
  int code = 1;
  try {
    Storm storm(options);
    code = storm.Run();
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-storm: " << e.what() << std::endl;
    code = 1;
  }
  if (madeWorkDir && code == 0 && !options.KeepWorkDir) {
    std::error_code ignored;
    fs::remove_all(options.WorkDir, ignored);
  } else {
    std::cout << "storm: work folder kept: " << options.WorkDir << std::endl;
  }
  return code;
}
