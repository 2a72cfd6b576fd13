#pragma once
// Closing the storm's books: every balance against what the shop and trade logs
// recorded plus what the servers and the admin saw granted; held packets against
// what was granted and what arrived; balances never below zero; cooldowns kept.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "AdminGrants.h"
#include "PrivateDatabase.h"

namespace storm {

struct FaultWindow {
  int64_t FromMillis = 0;  // the kill
  int64_t ToMillis = 0;    // the server answers again
};

struct BooksInput {
  DatabaseAddress Database;
  std::string Prefix;
  std::map<int, nlohmann::json> Summaries;  // by server id
  std::map<int, int> Players;               // by server id
  std::vector<Grant> Grants;
  std::vector<FaultWindow> Faults;
  int64_t MarginMillis = 3000;  // work posted this close to a fault may have met it
};

struct BooksResult {
  int PlayersChecked = 0;
  int PlayersExact = 0;
  int PlayersExplained = 0;     // short by grants or rewards that met a fault
  int FailedAtFaults = 0;       // those grants and rewards
  std::vector<std::string> Differences;  // what the books cannot account for
  std::map<int, std::map<std::string, int64_t>> Operations;  // by server: completed operations by kind
  std::map<int, int64_t> PassiveRewards;  // by server
  int64_t NegativeBalances = 0;
  int64_t HeldGranted = 0, HeldRedeemed = 0, HeldLeft = 0, CratesArrived = 0;
  bool Closed() const { return Differences.empty() && NegativeBalances == 0; }
};

BooksResult CloseBooks(const BooksInput& input);

// Whether some of the amounts add up to exactly target.
bool SomeAddUpTo(const std::vector<int64_t>& amounts, int64_t target);

}  // namespace storm
