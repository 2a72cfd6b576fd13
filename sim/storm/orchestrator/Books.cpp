#include "Books.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <functional>
#include <iterator>
#include <vector>

#include "StormRoster.h"

namespace storm {
namespace {

using Totals = std::map<std::string, int64_t>;

Totals TotalsBy(const DatabaseAddress& db, const std::string& statement) {
  Totals totals;
  for (const auto& row : Query(db, statement)) totals[row[0]] = Number(row[1]);
  return totals;
}

// Whether some of the amounts add up to `sum` (the empty choice adds up to 0); how many were chosen.
std::optional<int> ChosenFor(const std::vector<int64_t>& amounts, int64_t sum) {
  if (amounts.size() > 16) return sum == 0 ? std::optional<int>(0) : std::nullopt;  // more than a storm makes
  for (uint32_t mask = 0; mask < (1u << amounts.size()); ++mask) {
    int64_t total = 0;
    for (std::size_t i = 0; i < amounts.size(); ++i)
      if (mask & (1u << i)) total += amounts[i];
    if (total == sum) return std::popcount(mask);
  }
  return std::nullopt;
}

int64_t Of(const Totals& totals, const std::string& key) {
  auto it = totals.find(key);
  return it == totals.end() ? 0 : it->second;
}

struct Ledger {
  Totals Balances, ShopChanges, Redeemed, Sent, Received, Held, Rewards;
};

Ledger ReadLedger(const BooksInput& input) {
  const DatabaseAddress& db = input.Database;
  const std::string& p = input.Prefix;
  const std::string players = "'admin %'";
  Ledger ledger;
  ledger.Balances = TotalsBy(db, "SELECT eosId, points FROM " + p + "_player_points");
  ledger.ShopChanges = TotalsBy(db, "SELECT eosId, SUM(points_change) FROM " + p + "_shoplog GROUP BY eosId");
  ledger.Redeemed = TotalsBy(db, "SELECT eosId, SUM(IF(isRedeem, amount, 0)) FROM " + p + "_shoplog GROUP BY eosId");
  ledger.Sent = TotalsBy(db, "SELECT eosid_from, SUM(amount) FROM " + p + "_tradelog WHERE eosid_from NOT LIKE " +
                                 players + " GROUP BY eosid_from");
  ledger.Received = TotalsBy(db, "SELECT eosid_to, SUM(amount) FROM " + p + "_tradelog WHERE eosid_from NOT LIKE " +
                                     players + " GROUP BY eosid_to");
  ledger.Held = TotalsBy(db, "SELECT eosId, SUM(amount) FROM " + p + "_player_redeems GROUP BY eosId");
  // Every committed passive reward left its operation id (kept for a day, longer than any storm).
  ledger.Rewards = TotalsBy(db, "SELECT eosId, COUNT(*) FROM " + p + "_operations WHERE kind='PassiveReward' GROUP BY eosId");
  return ledger;
}

class Closer {
 public:
  Closer(const BooksInput& input, BooksResult& result) : input_(input), result_(result), ledger_(ReadLedger(input)) {}

  void Player(int serverId, int index) {
    ++result_.PlayersChecked;
    const std::string eosId = EosIdOf(serverId, index);
    const nlohmann::json& summary = input_.Summaries.at(serverId);
    const nlohmann::json& seen = summary["players"][eosId];
    const int kills = input_.ServerKills.count(serverId) ? input_.ServerKills.at(serverId) : 0;
    // Players are told of passive rewards and of admin point grants with the same message.
    int64_t expected = Of(ledger_.ShopChanges, eosId) + Of(ledger_.Received, eosId) - Of(ledger_.Sent, eosId);
    int64_t told = 0, toldCount = 0;
    for (const auto& message : seen["passive"]) {
      told += message[1].get<int64_t>();
      ++toldCount;
    }
    int64_t heldGranted = HeldRewardAtLogin, granted = 0, grantCount = 0;
    // A grant whose outcome the server could not tell (it said so) was kept or not: either is exact.
    std::vector<int64_t> unknownPoints, unknownHeld;
    if (auto again = input_.HeldGrantedAgain.find(eosId); again != input_.HeldGrantedAgain.end())
      heldGranted += again->second;
    for (const Grant& grant : input_.Grants) {
      if (grant.EosId != eosId || grant.Refused) continue;  // a refusal changed nothing and said so
      if (grant.Unknown) {
        (grant.Held ? unknownHeld : unknownPoints).push_back(grant.Amount);
        continue;
      }
      if (!grant.Accepted) {
        result_.Differences.push_back("grant without its reply for " + eosId + ": " + grant.Reply);
        continue;
      }
      if (!grant.Held) {
        granted += grant.Amount;
        ++grantCount;
      } else {
        heldGranted += grant.Amount;
      }
    }
    const int64_t rewards = Of(ledger_.Rewards, eosId);
    result_.PassiveRewards[serverId] += rewards;
    expected += rewards * PassiveAmountOf(index) + granted;
    CheckTold(eosId, told, toldCount, rewards * PassiveAmountOf(index) + granted, rewards + grantCount, kills);
    if (ledger_.Balances.count(eosId) == 0) result_.Differences.push_back(eosId + " has no points row");
    const int64_t balance = Of(ledger_.Balances, eosId);
    const bool pointsExact = Exact("points", eosId, expected - balance, unknownPoints);

    const int64_t redeemed = Of(ledger_.Redeemed, eosId), left = Of(ledger_.Held, eosId);
    const int64_t crates = seen.value("crates", int64_t{0});
    const bool heldExact = Exact("held units", eosId, heldGranted - redeemed - left, unknownHeld);
    result_.HeldGranted += heldGranted;
    result_.HeldRedeemed += redeemed;
    result_.HeldLeft += left;
    result_.CratesArrived += crates;
    // Units that arrived before a kill and were given back by the start after it
    // (the redeem was not settled yet); never more than that start gave back.
    int64_t givenBack = 0;
    if (kills > 0 && summary.contains("heldGivenBackAtStart")) givenBack = summary["heldGivenBackAtStart"].value(eosId, int64_t{0});
    const bool cratesExact = crates >= redeemed && crates - redeemed <= givenBack;
    if (!cratesExact)
      result_.Differences.push_back(eosId + ": " + std::to_string(redeemed) + " held units redeemed in the log, " +
                                    std::to_string(crates) + " arrived" +
                                    (givenBack > 0 ? ", " + std::to_string(givenBack) + " given back at start" : ""));
    else
      result_.ArrivedThenGivenBack += crates - redeemed;
    if (pointsExact && heldExact && cratesExact) ++result_.PlayersExact;
  }

 private:
  // The player was told of exactly the rewards and grants that committed; a kill
  // may cut off the message of one that committed, one per kill at most.
  void CheckTold(const std::string& eosId, int64_t told, int64_t toldCount, int64_t committed,
                 int64_t committedCount, int kills) {
    const int64_t untold = committedCount - toldCount;
    if (untold == 0 && told == committed) return;
    if (untold > 0 && untold <= kills && told < committed) {
      result_.NotToldBeforeKill += untold;
      return;
    }
    result_.Differences.push_back(eosId + ": told of " + std::to_string(told) + " points in " +
                                  std::to_string(toldCount) + " messages; " + std::to_string(committed) +
                                  " points in " + std::to_string(committedCount) +
                                  " passive rewards and confirmed grants committed");
  }

  bool Exact(const std::string& what, const std::string& eosId, int64_t shortfall, const std::vector<int64_t>& unknown) {
    if (const std::optional<int> kept = ChosenFor(unknown, -shortfall)) {
      result_.UnknownGrantsKept += *kept;
      result_.UnknownGrantsNotKept += static_cast<int64_t>(unknown.size()) - *kept;
      return true;
    }
    result_.Differences.push_back(eosId + ": " + what + " off by " + std::to_string(-shortfall) +
                                  " (database against logs, what players were told and confirmed grants)");
    return false;
  }

  const BooksInput& input_;
  BooksResult& result_;
  Ledger ledger_;
};

std::string KindOfLogRow(const std::string& packet, bool buy, bool sell, bool redeem) {
  if (sell) return "sell";
  if (redeem) return "redeem";
  if (!buy) return "other";
  if (packet == "Raptor") return "buy creature";
  if (packet == "Sunrise" || packet == "Shout") return "buy command";
  return "buy item";
}

void CountOperations(const BooksInput& input, BooksResult& result) {
  const std::string& p = input.Prefix;
  for (const auto& row : Query(input.Database, "SELECT serverid, SUBSTRING_INDEX(packet, ',', 1), isBuy, isSell, "
                                               "isRedeem, COUNT(*) FROM " + p + "_shoplog GROUP BY 1, 2, 3, 4, 5"))
    result.Operations[static_cast<int>(Number(row[0]))][KindOfLogRow(row[1], row[2] == "1", row[3] == "1",
                                                                      row[4] == "1")] += Number(row[5]);
  std::map<std::string, int> serverOf;
  for (const auto& [serverId, players] : input.Players)
    for (int i = 0; i < players; ++i) serverOf[EosIdOf(serverId, i)] = serverId;
  for (const auto& row : Query(input.Database, "SELECT serverid, eosid_from, eosid_to, COUNT(*) FROM " + p +
                                                   "_tradelog GROUP BY 1, 2, 3")) {
    const int serverId = static_cast<int>(Number(row[0]));
    std::string kind = "admin log row";
    if (row[1].rfind("admin ", 0) != 0)
      kind = serverOf[row[1]] == serverOf[row[2]] ? "trade, same server" : "trade, to the other server";
    result.Operations[serverId][kind] += Number(row[3]);
  }
}

void CheckNeverNegative(const BooksInput& input, BooksResult& result) {
  const std::string& p = input.Prefix;
  result.NegativeBalances = Number(Query(input.Database,
      "SELECT (SELECT COUNT(*) FROM " + p + "_player_points WHERE points < 0) + (SELECT COUNT(*) FROM " + p +
      "_shoplog WHERE newpoints < -1) + (SELECT COUNT(*) FROM " + p + "_tradelog WHERE eosid_from NOT LIKE "
      "'admin %' AND (points_after_from < 0 OR points_after_to < 0))")[0][0]);
}

// Purchases of one packet, in time order per key (player or server), never closer than its cooldown.
// A player cooldown is checked in the database against the worker's clock, the clock of the log's
// time: no slack. A server cooldown is held on the game thread when the purchase is checked, and the
// log's time is read later on a worker; `delay` says how much earlier than its row the check can
// have been.
using DelayOf = std::function<int64_t(const std::string& key, int64_t logged)>;
void CheckCooldown(const BooksInput& input, BooksResult& result, const std::string& keyColumn,
                   const std::string& packet, int64_t cooldown, const std::string& what, const DelayOf& delay) {
  // A purchase refunded in full delivered nothing and gave its cooldown back.
  const auto rows = Query(input.Database, "SELECT " + keyColumn + ", timestamp FROM " + input.Prefix +
                                              "_shoplog WHERE isBuy = 1 AND amount > 0 AND packet LIKE '" + packet +
                                              ",%' ORDER BY 1, 2");
  // Each check lies between its row's time less the delay and its row's time, and the checks of one
  // key are a cooldown apart: the earliest time each check can have had, purchase after purchase.
  int64_t earliestCheck = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int64_t logged = Number(rows[i][1]);
    const int64_t atLeast = logged - (delay ? delay(rows[i][0], logged) : 0);
    const bool first = i == 0 || rows[i][0] != rows[i - 1][0];
    earliestCheck = first ? atLeast : std::max(atLeast, earliestCheck + cooldown);
    if (first || earliestCheck <= logged) continue;
    result.Differences.push_back(what + " " + packet + " broken for " + rows[i][0] + ": bought " +
                                 std::to_string(logged - Number(rows[i - 1][1])) + " s apart");
    earliestCheck = logged;  // one difference per broken pair, not one for every purchase after it
  }
}

// How late a server's worker can have read the log's time of an operation checked on the game
// thread: a quarter of a real second at the storm's speed, and, after a stall (the database or a
// node down, its connections moving on), the whole stall: the check may have been made at its start.
// A stall shows as the longest silence in that server's logs shortly before the row.
class WorkerDelay {
 public:
  explicit WorkerDelay(const BooksInput& input) : base_(std::max<int64_t>(2, static_cast<int64_t>(input.Speed * 0.25))) {
    const std::string& p = input.Prefix;
    for (const auto& row : Query(input.Database, "SELECT serverid, timestamp FROM " + p + "_shoplog UNION ALL "
                                                 "SELECT serverid, timestamp FROM " + p + "_tradelog ORDER BY 1, 2"))
      times_[row[0]].push_back(Number(row[1]));
  }

  int64_t operator()(const std::string& server, int64_t logged, int64_t window) const {
    auto found = times_.find(server);
    if (found == times_.end()) return base_;
    const std::vector<int64_t>& times = found->second;
    // From the last row before the window: a silence reaching into it counts whole.
    auto from = std::lower_bound(times.begin(), times.end(), logged - window);
    if (from != times.begin()) --from;
    auto to = std::lower_bound(times.begin(), times.end(), logged);
    int64_t longest = 0;
    for (auto it = from; it != to && std::next(it) != times.end(); ++it) longest = std::max(longest, *std::next(it) - *it);
    return base_ + longest;
  }

 private:
  int64_t base_;
  std::map<std::string, std::vector<int64_t>> times_;
};

}  // namespace

BooksResult CloseBooks(const BooksInput& input) {
  BooksResult result;
  Closer closer(input, result);
  for (const auto& [serverId, players] : input.Players)
    for (int i = 0; i < players; ++i) closer.Player(serverId, i);
  CountOperations(input, result);
  CheckNeverNegative(input, result);
  // Every charge and redeem was settled, by its own run or by the start after a kill.
  result.SettlementsLeft = Number(Query(input.Database, "SELECT COUNT(*) FROM " + input.Prefix + "_settlements")[0][0]);
  CheckCooldown(input, result, "eosId", "Metal Pack", 360, "player cooldown", {});
  CheckCooldown(input, result, "eosId", "Raptor", 900, "player cooldown", {});
  const WorkerDelay delay(input);
  CheckCooldown(input, result, "serverid", "Sunrise", 180, "server cooldown",
                [&](const std::string& server, int64_t logged) { return delay(server, logged, 180); });
  return result;
}

}  // namespace storm
