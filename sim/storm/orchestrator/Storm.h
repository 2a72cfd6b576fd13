#pragma once
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
//
// Storm is one such run, from the database's start to the closed books: its
// start and waits in Storm.cpp, its faults in StormFaults.cpp, its end-of-run
// checks in StormEnd.cpp.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AdminGrants.h"
#include "PrivateDatabase.h"
#include "ServerProcess.h"
#include "StormCluster.h"
#include "StormOptions.h"
#include "StormReport.h"
#include "sim/faultylink/FaultyLink.h"

namespace storm {

inline constexpr char kPrefix[] = "storm";  // of the shop's tables

struct FaultWindow {
  int64_t FromMillis = 0;  // the kill
  int64_t ToMillis = 0;    // the server answers again
};

class Storm {
 public:
  explicit Storm(Options options);
  ~Storm();

  // The whole storm; 0 when the books close and nothing else went wrong.
  int Run();

 private:
  // Storm.cpp: the servers' start, and waiting for them.
  static void Log(const std::string& text);
  std::filesystem::path ServerDir(int id) const {
    return std::filesystem::path(o_.WorkDir) / ("server" + std::to_string(id));
  }

  // The database the orchestrator reads: the private server, or a node of the
  // cluster that answers (not the one it killed).
  DatabaseAddress Db() const { return cluster_ ? cluster_->Answering(downNode_) : db_.Address(); }

  // One writer: every list in the node order. Rotated: server i starts at node i.
  std::string ClusterHosts(int id) const {
    return cluster_->HostList(o_.Cluster == "rotated" ? (id - 1) % StormCluster::Nodes + 1 : 1);
  }

  void InstallConfig(int id);
  void StartServer(int id, const std::string& output);
  void WaitForReady(int id);
  void StartServers();
  std::vector<RconServer> RconServers() const;
  // Every player's row and login reward is stored before the admin starts granting.
  void WaitForPlayers();
  void Until(const std::function<bool()>& done, std::chrono::seconds timeout, const std::string& what);
  int64_t Progress(int id) const;
  void WaitForProgress(double fraction);
  int64_t LoggedRows(int id);
  // When the last server wrote "done" into its progress file (the end of its
  // simulated hours), in wall milliseconds: the faults may keep the orchestrator longer.
  int64_t DoneMillis() const;
  bool AllDone() const;

  // StormFaults.cpp: the kills and what they wait for.
  // kill -9, a pause, and the server back on the same port; the game servers are not told.
  void KillDatabase(int k);
  // kill -9 of the writer node under load; the cluster goes on without it, and it
  // is started again after the downtime (it rejoins by incremental transfer).
  void KillNode(int k);
  // kill -9 of one game server while the database is away: what it had in hand
  // (work queued for the database, results not handed back) dies with it.
  void CrashServer();
  // kill -9 of a game server at whatever it was doing (a charge on its way, goods
  // between charge and delivery, a settlement, a reward), and started again: its
  // start settles what the killed one owed. The admin's grant to it is let finish
  // first, so that every grant has its reply.
  void KillServer(int id, bool whileOwing);
  // Up to ten seconds for the server to have a settlement row open; true when it has.
  bool WaitUntilOwing(int id);
  // Started again on the same folder; it reads its journal and goes on with the storm.
  void RestartServer(int id);
  int64_t Purchases();
  // Polls until a purchase beyond the bought ones is committed; the time since
  // the death, or -1 when none came within two minutes or the servers had ended
  // their simulated hours.
  int64_t MillisToNextPurchase(int64_t bought, int64_t deathMillis);

  // StormEnd.cpp: the servers' end and the checks of the run.
  void Finish();
  // Every shop table the same on every node at the end.
  void CompareNodes();
  // Each line "<packet>,<time of use>" for a packet with a server cooldown, in the storm's time.
  std::string CheckCooldownFile(int id);
  void CloseBooks();
  // Every grant or reward lost to a database kill left a failure line; without
  // faults there are none; what a fault leaves to settle is logged as settled;
  // nothing else is worth a warning.
  void CheckFailuresLogged();

  Options o_;
  std::vector<int> serverIds_;  // the game servers, 1 to GameServers
  PrivateDatabase db_;
  std::unique_ptr<StormCluster> cluster_;  // instead of db_ on a cluster
  bool dbStarted_ = false;
  int downNode_ = 0;  // the node killed and not yet back
  std::unique_ptr<sim::faultylink::FaultyLink> link_;  // between the servers and the database, or none
  std::map<int, std::unique_ptr<ServerProcess>> servers_;
  std::map<int, uint16_t> rconPorts_;
  std::map<int, int64_t> rowsAfterRestart_;
  std::vector<FaultWindow> faults_;
  AdminGrants* grants_ = nullptr;
  std::map<std::string, int64_t> heldGrantedAgain_;
  std::map<int, int> restarts_;
  StormFacts facts_;
};

}  // namespace storm
