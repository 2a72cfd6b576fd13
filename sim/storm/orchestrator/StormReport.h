#pragma once
// The table a storm prints at the end: what the servers did, what the books say.
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Books.h"

namespace storm {

struct StormFacts {
  int Players = 0;
  double Hours = 0;
  bool KeepConnections = false;
  int KillsPlanned = 0;
  int KillsDone = 0;
  std::map<int, nlohmann::json> Summaries;
  std::map<int, int> ExitCodes;
  std::map<int, bool> TickedThroughFaults;
  std::map<int, bool> ResumedAfterFaults;
  std::map<int, std::string> CooldownFiles;  // "intact, N lines" or what is wrong
  std::vector<Grant> Grants;
  BooksResult Books;
  std::vector<std::string> Problems;  // beyond the books
  int CrashedServer = 0;  // the server killed with kill -9 during an outage and started again, 0 for none
  std::map<int, int> ServerKills;  // kill -9 of each game server, each started again
  int KilledWhileOwing = 0;        // kills that came while the server had a charge or a redeem unsettled
  double LostCommitChance = 0;     // of a commit answer on the faulty link; 0 without the link
  uint64_t CommitsSeen = 0, CommitsDropped = 0;
  std::string Database;       // "one plain server" or the cluster and its mode
  double StormSeconds = 0;    // wall time from the first grant to the end of the simulated hours
  std::vector<int64_t> DeathToPurchaseMillis;  // per database (or node) kill; -1 when no purchase came
  int TablesCompared = 0;     // shop tables whose CHECKSUM TABLE was compared across the nodes
};

// Operations per second, retries per thousand operations and the like, over all servers.
struct Throughput {
  int64_t Operations = 0;  // completed as the database logged them, and grants accepted
  int64_t Retries = 0;     // transactions tried again (counted when the servers log at debug level)
  int64_t GaveUp = 0;
  double PerSecond = 0;
  double RetriesPerThousand = 0;
};
Throughput ThroughputOf(const StormFacts& facts);

// Log lines that report a database failure: the connection, a query, or a write
// that did not happen (with the operation, the player and what was lost).
bool IsFailureLine(const std::string& kind);
// Log lines of what a fault left to settle, settled: a settlement made at start for
// an earlier run, a settlement tried again, a lost commit answer looked up by its id,
// a transaction tried again, a database node of the host list passed over.
bool IsRecoveryLine(const std::string& kind);

// The counts of recovery lines for the closing table, by server.
struct Recoveries {
  int64_t SettledAtStart = 0;
  int64_t SettlementsRetried = 0;
  int64_t FoundCommitted = 0;
  int64_t FoundNotCommitted = 0;
};
Recoveries RecoveriesOf(const nlohmann::json& summary);

void PrintReport(const StormFacts& facts);

}  // namespace storm
