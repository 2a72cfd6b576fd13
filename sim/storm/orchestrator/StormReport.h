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
  int CrashedServer = 0;  // the server killed with kill -9 and started again, 0 for none
};

// Log lines that report a database failure: the connection, a query, or a write
// that did not happen (with the operation, the player and what was lost).
bool IsFailureLine(const std::string& kind);

void PrintReport(const StormFacts& facts);

}  // namespace storm
