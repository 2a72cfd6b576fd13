#pragma once
// Closing the storm's books: every balance against what the shop and trade logs
// recorded, the passive rewards the operations table holds and the grants the
// admin saw confirmed; what the players were told against those; held
// packets against what was granted and what arrived; balances never below zero;
// cooldowns kept. Nothing is forgiven: a database kill is no excuse for a point
// or a unit that is unaccounted for.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "AdminGrants.h"
#include "PrivateDatabase.h"

namespace storm {

struct BooksInput {
  DatabaseAddress Database;
  std::string Prefix;
  std::map<int, nlohmann::json> Summaries;  // by server id
  std::map<int, int> Players;               // by server id
  std::vector<Grant> Grants;
  // Held units granted at a second login (a server started again after a crash
  // grants the login reward anew to players who no longer hold it), by player.
  std::map<std::string, int64_t> HeldGrantedAgain;
  // Game servers killed with kill -9 (and started again), by server id. A kill may
  // come after a reward or a grant committed and before its player was told
  // (at most one per player and kill), or after a redeem's units arrived and
  // before it was settled: the start after it gives them back (the summary's
  // "heldGivenBackAtStart" bounds those). Without kills neither is accepted.
  std::map<int, int> ServerKills;
  // Simulated seconds per real second: a server cooldown is checked on the game
  // thread and the purchase's log time read later on a worker, so a worker's
  // real delay shows this many times larger in the log.
  double Speed = 1;
};

struct BooksResult {
  int PlayersChecked = 0;
  int PlayersExact = 0;
  std::vector<std::string> Differences;  // what the books cannot account for
  std::map<int, std::map<std::string, int64_t>> Operations;  // by server: completed operations by kind
  std::map<int, int64_t> PassiveRewards;  // by server
  int64_t NegativeBalances = 0;
  int64_t SettlementsLeft = 0;  // what a charge or a redeem still owes (or was given up) at the end
  int64_t HeldGranted = 0, HeldRedeemed = 0, HeldLeft = 0, CratesArrived = 0;
  int64_t ArrivedThenGivenBack = 0;  // held units that arrived and were given back at start after a kill
  int64_t NotToldBeforeKill = 0;     // rewards and grants committed whose message a kill cut off
  int64_t UnknownGrantsKept = 0, UnknownGrantsNotKept = 0;  // grants whose outcome the server could not tell
  bool Closed() const { return Differences.empty() && NegativeBalances == 0 && SettlementsLeft == 0; }
};

BooksResult CloseBooks(const BooksInput& input);

}  // namespace storm
