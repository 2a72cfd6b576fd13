#include "Books.h"

#include <algorithm>
#include <limits>

#include "StormRoster.h"

namespace storm {
namespace {

using Totals = std::map<std::string, int64_t>;

Totals TotalsBy(const DatabaseAddress& db, const std::string& statement) {
  Totals totals;
  for (const auto& row : Query(db, statement)) totals[row[0]] = Number(row[1]);
  return totals;
}

int64_t Of(const Totals& totals, const std::string& key) {
  auto it = totals.find(key);
  return it == totals.end() ? 0 : it->second;
}

bool MetAFault(const BooksInput& input, int64_t from, int64_t to) {
  for (const FaultWindow& fault : input.Faults)
    if (to >= fault.FromMillis - input.MarginMillis && from <= fault.ToMillis + input.MarginMillis) return true;
  return false;
}

// The fewest of amounts that add up to target; -1 when none do.
int FewestAddingUpTo(const std::vector<int64_t>& amounts, int64_t target) {
  if (target < 0) return -1;
  constexpr int kNone = std::numeric_limits<int>::max();
  std::vector<int> fewest(static_cast<std::size_t>(target) + 1, kNone);
  fewest[0] = 0;
  for (int64_t amount : amounts) {
    if (amount <= 0 || amount > target) continue;
    for (int64_t sum = target; sum >= amount; --sum) {
      const int before = fewest[static_cast<std::size_t>(sum - amount)];
      if (before != kNone) fewest[static_cast<std::size_t>(sum)] = std::min(fewest[static_cast<std::size_t>(sum)], before + 1);
    }
  }
  return fewest[static_cast<std::size_t>(target)] == kNone ? -1 : fewest[static_cast<std::size_t>(target)];
}

struct Ledger {
  Totals Balances, ShopChanges, Redeemed, Sent, Received, Held;
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
  return ledger;
}

class Closer {
 public:
  Closer(const BooksInput& input, BooksResult& result) : input_(input), result_(result), ledger_(ReadLedger(input)) {}

  void Player(int serverId, int index) {
    ++result_.PlayersChecked;
    const std::string eosId = EosIdOf(serverId, index);
    const nlohmann::json& seen = input_.Summaries.at(serverId)["players"][eosId];
    // Players are told of passive rewards and of admin point grants with the same message.
    std::vector<int64_t> pointsAtRisk, heldAtRisk;
    int64_t expected = Of(ledger_.ShopChanges, eosId) + Of(ledger_.Received, eosId) - Of(ledger_.Sent, eosId);
    int64_t told = 0, toldCount = 0;
    for (const auto& message : seen["passive"]) {
      const int64_t at = message[0].get<int64_t>(), amount = message[1].get<int64_t>();
      told += amount;
      ++toldCount;
      if (MetAFault(input_, at - input_.MarginMillis, at)) pointsAtRisk.push_back(amount);
    }
    expected += told;
    int64_t heldGranted = HeldRewardAtLogin, granted = 0, grantCount = 0;
    for (const Grant& grant : input_.Grants) {
      if (grant.EosId != eosId) continue;
      if (!grant.Accepted) {
        result_.Differences.push_back("grant without its reply for " + eosId + ": " + grant.Reply);
        continue;
      }
      if (!grant.Held) {
        granted += grant.Amount;
        ++grantCount;
      } else {
        heldGranted += grant.Amount;
        if (MetAFault(input_, grant.SentMillis, grant.RepliedMillis)) heldAtRisk.push_back(grant.Amount);
      }
    }
    // What is left after the grants must be whole passive rewards of the player's group.
    const int64_t rewards = toldCount - grantCount;
    result_.PassiveRewards[serverId] += rewards;
    if (rewards < 0 || told - granted != rewards * PassiveAmountOf(index))
      result_.Differences.push_back(eosId + ": told of " + std::to_string(told) + " points in " +
                                    std::to_string(toldCount) + " messages, " + std::to_string(granted) +
                                    " of them granted by the admin in " + std::to_string(grantCount));
    if (ledger_.Balances.count(eosId) == 0) result_.Differences.push_back(eosId + " has no points row");
    const int64_t balance = Of(ledger_.Balances, eosId);
    const Settled points = Settle("points", eosId, expected - balance, pointsAtRisk);

    const int64_t redeemed = Of(ledger_.Redeemed, eosId), left = Of(ledger_.Held, eosId);
    const int64_t crates = seen.value("crates", int64_t{0});
    const Settled held = Settle("held units", eosId, heldGranted - redeemed - left, heldAtRisk);
    result_.HeldGranted += heldGranted;
    result_.HeldRedeemed += redeemed;
    result_.HeldLeft += left;
    result_.CratesArrived += crates;
    if (crates != redeemed)
      result_.Differences.push_back(eosId + ": " + std::to_string(redeemed) + " held units redeemed in the log, " +
                                    std::to_string(crates) + " arrived");
    if (points == Settled::Exact && held == Settled::Exact) ++result_.PlayersExact;
    else if (points != Settled::Off && held != Settled::Off) ++result_.PlayersExplained;
  }

 private:
  enum class Settled { Exact, Explained, Off };

  // A shortfall is accounted for when grants or rewards that met a fault add up to it.
  Settled Settle(const std::string& what, const std::string& eosId, int64_t shortfall,
                 const std::vector<int64_t>& atRisk) {
    if (shortfall == 0) return Settled::Exact;
    const int failed = FewestAddingUpTo(atRisk, shortfall);
    if (failed > 0) {
      result_.FailedAtFaults += failed;
      return Settled::Explained;
    }
    result_.Differences.push_back(eosId + ": " + what + " off by " + std::to_string(-shortfall) +
                                  " (database against logs and grants)");
    return Settled::Off;
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
void CheckCooldown(const BooksInput& input, BooksResult& result, const std::string& keyColumn,
                   const std::string& packet, int64_t cooldown, const std::string& what) {
  const auto rows = Query(input.Database, "SELECT " + keyColumn + ", timestamp FROM " + input.Prefix +
                                              "_shoplog WHERE isBuy = 1 AND packet LIKE '" + packet +
                                              ",%' ORDER BY 1, 2");
  constexpr int64_t kClockSlack = 2;  // the log's time is read on the worker, the check's on the game thread
  for (std::size_t i = 1; i < rows.size(); ++i)
    if (rows[i][0] == rows[i - 1][0] && Number(rows[i][1]) - Number(rows[i - 1][1]) < cooldown - kClockSlack)
      result.Differences.push_back(what + " " + packet + " broken for " + rows[i][0] + ": bought " +
                                   std::to_string(Number(rows[i][1]) - Number(rows[i - 1][1])) + " s apart");
}

}  // namespace

bool SomeAddUpTo(const std::vector<int64_t>& amounts, int64_t target) {
  return target == 0 || FewestAddingUpTo(amounts, target) > 0;
}

BooksResult CloseBooks(const BooksInput& input) {
  BooksResult result;
  Closer closer(input, result);
  for (const auto& [serverId, players] : input.Players)
    for (int i = 0; i < players; ++i) closer.Player(serverId, i);
  CountOperations(input, result);
  CheckNeverNegative(input, result);
  CheckCooldown(input, result, "eosId", "Metal Pack", 360, "player cooldown");
  CheckCooldown(input, result, "eosId", "Raptor", 900, "player cooldown");
  CheckCooldown(input, result, "serverid", "Sunrise", 180, "server cooldown");
  return result;
}

}  // namespace storm
