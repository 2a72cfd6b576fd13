// The storm's run: the database and the game servers started, the faults on
// their plan, and the waits for the servers' progress.
#include "Storm.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <thread>

#include "FaultPlan.h"
#include "StormClock.h"
#include "StormRoster.h"

namespace storm {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

Storm::Storm(Options options) : o_(std::move(options)), db_(o_.DbScript, o_.WorkDir + "/db") {
  for (int id = 1; id <= o_.GameServers; ++id) serverIds_.push_back(id);
  if (!o_.Cluster.empty()) cluster_ = std::make_unique<StormCluster>(o_.ClusterScript, o_.WorkDir + "/cluster");
  if (!o_.LogLevel.empty()) ::setenv("TANDORSHOP_LOG_LEVEL", o_.LogLevel.c_str(), 1);
}

int Storm::Run() {
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
  AdminGrants grants(RconServers(), o_.Seed * 31 + 1, o_.GrantIntervalMillis);
  grants_ = &grants;
  grants.Start();
  const int64_t stormFrom = WallMillis();
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
  PrintReport(facts_);
  return facts_.Books.Closed() && facts_.Problems.empty() ? 0 : 1;
}

Storm::~Storm() {
  servers_.clear();
  try {
    if (cluster_ && dbStarted_) cluster_->Stop();
    if (!cluster_ && dbStarted_) db_.Stop();
  } catch (const std::exception& e) {
    std::cerr << "storm: " << e.what() << "\n";
  }
}

void Storm::Log(const std::string& text) { std::cout << "storm: " << text << std::endl; }

void Storm::InstallConfig(int id) {
  nlohmann::json config = nlohmann::json::parse(std::ifstream(o_.Config));
  const DatabaseAddress db = cluster_ ? cluster_->Address(1) : db_.Address();
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

void Storm::StartServer(int id, const std::string& output) {
  const int peer = id % o_.GameServers + 1;  // trades go to the next server's players
  std::vector<std::string> args{"--server-dir", ServerDir(id).string(), "--server-id", std::to_string(id),
                                "--players", std::to_string(o_.Players), "--peer-server-id", std::to_string(peer),
                                "--peer-players", std::to_string(o_.Players), "--hours", std::to_string(o_.Hours),
                                "--speed", std::to_string(o_.Speed), "--actions-per-hour",
                                std::to_string(o_.ActionsPerHour), "--seed", std::to_string(o_.Seed * 100 + id)};
  servers_[id] = std::make_unique<ServerProcess>(o_.ServerProgram, args, (ServerDir(id) / output).string());
}

void Storm::WaitForReady(int id) {
  const fs::path ready = ServerDir(id) / ReadyFile;
  Until([&] { return fs::exists(ready); }, 180s, "server " + std::to_string(id) + " to be ready");
  rconPorts_[id] = nlohmann::json::parse(std::ifstream(ready))["rconPort"];
}

void Storm::StartServers() {
  for (int id : serverIds_) {
    InstallConfig(id);
    StartServer(id, "storm-server.out");
  }
  for (int id : serverIds_) WaitForReady(id);
  Log(std::to_string(o_.GameServers) + " servers are up");
}

std::vector<RconServer> Storm::RconServers() const {
  std::vector<RconServer> servers;
  for (int id : serverIds_) servers.push_back({id, rconPorts_.at(id), o_.Players});
  return servers;
}

void Storm::WaitForPlayers() {
  const std::string count = "SELECT (SELECT COUNT(*) FROM " + std::string(kPrefix) + "_player_points) + (SELECT "
                            "COUNT(*) FROM " + kPrefix + "_player_redeems)";
  Until([&] { return Number(Query(Db(), count)[0][0]) >= 2 * o_.GameServers * o_.Players; }, 60s,
        "the players' rows");
}

void Storm::Until(const std::function<bool()>& done, std::chrono::seconds timeout, const std::string& what) {
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

int64_t Storm::Progress(int id) const {
  std::ifstream in(ServerDir(id) / ProgressFile);
  std::string word;
  in >> word;
  if (word == "done") return static_cast<int64_t>(o_.Hours * 3600);
  return word.empty() ? 0 : std::stoll(word);
}

void Storm::WaitForProgress(double fraction) {
  const auto target = static_cast<int64_t>(fraction * o_.Hours * 3600);
  Until([&] { return std::all_of(serverIds_.begin(), serverIds_.end(), [&](int id) { return Progress(id) >= target; }); },
        std::chrono::hours(6),
        "the storm to reach " + std::to_string(target) + " simulated seconds");
}

int64_t Storm::LoggedRows(int id) {
  const std::string where = " WHERE serverid=" + std::to_string(id);
  return Number(Query(Db(), "SELECT (SELECT COUNT(*) FROM " + std::string(kPrefix) + "_shoplog" + where +
                                ") + (SELECT COUNT(*) FROM " + kPrefix + "_tradelog" + where + ")")[0][0]);
}

int64_t Storm::DoneMillis() const {
  int64_t last = 0;
  for (int id : serverIds_) {
    const auto written = fs::last_write_time(ServerDir(id) / ProgressFile);
    const auto wall = std::chrono::file_clock::to_sys(written);
    last = std::max<int64_t>(last, std::chrono::duration_cast<std::chrono::milliseconds>(wall.time_since_epoch()).count());
  }
  return last;
}

bool Storm::AllDone() const {
  const auto end = static_cast<int64_t>(o_.Hours * 3600);
  return std::all_of(serverIds_.begin(), serverIds_.end(), [&](int id) { return Progress(id) >= end; });
}

}  // namespace storm
