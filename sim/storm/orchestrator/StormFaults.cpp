// The storm's faults: the database (or a cluster node) and game servers killed
// with kill -9 and started again, and what the orchestrator waits for around them.
#include "Storm.h"

#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "StormClock.h"
#include "StormRoster.h"

namespace storm {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kKilledNode = 1;  // the writer node: every server's in one-writer mode, server 1's when rotated
constexpr int kCrashedServer = 2;

}  // namespace

void Storm::KillDatabase(int k) {
  if (cluster_) return KillNode(k);
  std::map<int, int64_t> before;
  for (int id : serverIds_) before[id] = Progress(id);
  const int64_t bought = Purchases();
  FaultWindow window;
  window.FromMillis = WallMillis();
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
  window.ToMillis = WallMillis();
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

void Storm::KillNode(int k) {
  // A node's restart under load can outlast the rest of a short storm: a kill
  // after the end would measure nothing.
  if (AllDone()) return Log("the servers ended their hours before kill " + std::to_string(k) + "; node left alone");
  std::map<int, int64_t> before;
  for (int id : serverIds_) before[id] = Progress(id);
  const int64_t bought = Purchases();
  FaultWindow window;
  window.FromMillis = WallMillis();
  cluster_->Kill(kKilledNode);
  downNode_ = kKilledNode;
  Log("node " + std::to_string(kKilledNode) + " killed (" + std::to_string(k) + " of " + std::to_string(o_.Kills) + ")");
  const int64_t waited = MillisToNextPurchase(bought, window.FromMillis);
  facts_.DeathToPurchaseMillis.push_back(waited);
  Log("the next purchase committed " + std::to_string(waited) + " ms after the kill");
  const int64_t restartAt = window.FromMillis + o_.DowntimeMillis;
  if (WallMillis() < restartAt) std::this_thread::sleep_for(std::chrono::milliseconds(restartAt - WallMillis()));
  cluster_->Restart(kKilledNode);
  downNode_ = 0;
  window.ToMillis = WallMillis();
  faults_.push_back(window);
  ++facts_.KillsDone;
  Log("node " + std::to_string(kKilledNode) + " synced again " + std::to_string(window.ToMillis - window.FromMillis) +
      " ms after the kill");
  for (int id : serverIds_)
    facts_.TickedThroughFaults[id] = (facts_.KillsDone == 1 || facts_.TickedThroughFaults[id]) && Progress(id) > before[id];
  if (!AllDone())  // else nothing is left to serve after the restart
    for (int id : serverIds_) rowsAfterRestart_[id] = LoggedRows(id);
}

void Storm::CrashServer() {
  grants_->Pause(kCrashedServer);
  servers_[kCrashedServer]->Kill();
  facts_.CrashedServer = kCrashedServer;
  ++facts_.ServerKills[kCrashedServer];
  Log("server " + std::to_string(kCrashedServer) + " killed with kill -9 while the database is down");
}

void Storm::KillServer(int id, bool whileOwing) {
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

bool Storm::WaitUntilOwing(int id) {
  const std::string owing = "SELECT COUNT(*) FROM " + std::string(kPrefix) + "_settlements WHERE state=0 AND "
                            "serverId=" + std::to_string(id);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline)
    if (Number(Query(Db(), owing)[0][0]) > 0) return true;
  return false;
}

void Storm::RestartServer(int id) {
  // Who no longer holds the login reward gets it again when they join the new server.
  std::set<std::string> holding;
  for (const auto& row :
       Query(Db(), "SELECT eosId FROM " + std::string(kPrefix) + "_player_redeems WHERE packetStr='" + HeldReward + ",1'"))
    holding.insert(row[0]);
  for (int i = 0; i < o_.Players; ++i) {
    const std::string eosId = EosIdOf(id, i);
    if (holding.count(eosId) == 0) heldGrantedAgain_[eosId] += HeldRewardAtLogin;
  }
  fs::remove(ServerDir(id) / ReadyFile);
  const int lives = ++restarts_[id];
  std::string output = "storm-server-restarted";  // built up in steps: GCC 12 warns (-Wrestrict) of "-" + string here
  if (lives > 1) output.append("-").append(std::to_string(lives));
  StartServer(id, output + ".out");
  WaitForReady(id);
  grants_->Resume(id, rconPorts_.at(id));
  Log("server " + std::to_string(id) + " started again");
}

int64_t Storm::Purchases() {
  return Number(Query(Db(), "SELECT COUNT(*) FROM " + std::string(kPrefix) + "_shoplog WHERE isBuy=1")[0][0]);
}

int64_t Storm::MillisToNextPurchase(int64_t bought, int64_t deathMillis) {
  const auto deadline = std::chrono::steady_clock::now() + 120s;
  while (std::chrono::steady_clock::now() < deadline && !AllDone()) {
    try {
      if (Purchases() > bought) return WallMillis() - deathMillis;
    } catch (const std::exception&) {
      // the nodes left refuse reads until they form a primary component again
    }
    std::this_thread::sleep_for(20ms);
  }
  return -1;
}

}  // namespace storm
