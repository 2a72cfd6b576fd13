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
};

void PrintReport(const StormFacts& facts);

}  // namespace storm
