#include "StormReport.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "StormRoster.h"

namespace storm {

bool IsFailureLine(const std::string& kind) {
  return kind.find("Failed to open connection!") != std::string::npos ||
         kind.find("Unexpected DB error") != std::string::npos || kind.find(" did not happen") != std::string::npos ||
         kind.find(": gave up after ") != std::string::npos;
}

bool IsRecoveryLine(const std::string& kind) {
  return (kind.find("] Settled ") != std::string::npos && kind.find("(left by an earlier run)") != std::string::npos) ||
         kind == "[info] Settlement tried again" || kind.find(TriedAgain) != std::string::npos ||
         (kind.rfind("[warning] Database node ", 0) == 0 && kind.find(" skipped: ") != std::string::npos) ||
         kind.find("the answer to its commit was lost; operation did") != std::string::npos;
}

Recoveries RecoveriesOf(const nlohmann::json& summary) {
  Recoveries found;
  for (const auto& [kind, count] : summary["logLines"].items()) {
    const int64_t n = count.get<int64_t>();
    if (!IsRecoveryLine(kind) || kind.find(TriedAgain) != std::string::npos) continue;  // retries are counted apart
    if (kind.find("] Settled ") != std::string::npos) found.SettledAtStart += n;
    else if (kind.find("Settlement tried again") != std::string::npos) found.SettlementsRetried += n;
    else if (kind.find("did not commit") != std::string::npos) found.FoundNotCommitted += n;
    else found.FoundCommitted += n;
  }
  return found;
}

Throughput ThroughputOf(const StormFacts& facts) {
  Throughput t;
  for (const auto& [id, kinds] : facts.Books.Operations)
    for (const auto& [kind, n] : kinds) t.Operations += n;
  for (const Grant& grant : facts.Grants) t.Operations += grant.Accepted ? 1 : 0;
  for (const auto& [id, summary] : facts.Summaries)
    for (const auto& [kind, count] : summary["logLines"].items()) {
      if (kind.find(TriedAgain) != std::string::npos) t.Retries += count.get<int64_t>();
      if (kind.find(": gave up after ") != std::string::npos) t.GaveUp += count.get<int64_t>();
    }
  if (facts.StormSeconds > 0) t.PerSecond = static_cast<double>(t.Operations) / facts.StormSeconds;
  if (t.Operations > 0) t.RetriesPerThousand = 1000.0 * static_cast<double>(t.Retries) / static_cast<double>(t.Operations);
  return t;
}

namespace {

void Row(const std::string& label, const std::vector<std::string>& cells) {
  std::printf("  %-38s", label.c_str());
  for (const std::string& cell : cells) std::printf(" %14s", cell.c_str());
  std::printf("\n");
}

std::string Count(int64_t n) { return std::to_string(n); }

int64_t Get(const nlohmann::json& object, const std::string& key) {
  return object.contains(key) ? object[key].get<int64_t>() : 0;
}

int64_t FailureLines(const nlohmann::json& summary) {
  int64_t lines = 0;
  for (const auto& [kind, count] : summary["logLines"].items())
    if (IsFailureLine(kind)) lines += count.get<int64_t>();
  return lines;
}

void Requests(const StormFacts& facts, const std::vector<int>& servers) {
  std::set<std::string> kinds;
  for (int id : servers)
    for (const auto& [kind, n] : facts.Summaries.at(id)["sent"].items()) kinds.insert(kind);
  std::printf("requests sent by the clients (repeats within one tick in brackets)\n");
  for (const std::string& kind : kinds) {
    std::vector<std::string> cells;
    for (int id : servers) {
      const auto& summary = facts.Summaries.at(id);
      cells.push_back(Count(Get(summary["sent"], kind)) + " (" + Count(Get(summary["repeats"], kind)) + ")");
    }
    Row(kind, cells);
  }
}

void Completed(const StormFacts& facts, const std::vector<int>& servers) {
  std::set<std::string> kinds;
  for (int id : servers)
    if (facts.Books.Operations.count(id) > 0)
      for (const auto& [kind, n] : facts.Books.Operations.at(id)) kinds.insert(kind);
  std::printf("operations completed, as the database logged them\n");
  for (const std::string& kind : kinds) {
    std::vector<std::string> cells;
    for (int id : servers) {
      auto it = facts.Books.Operations.find(id);
      const int64_t n = it == facts.Books.Operations.end() || it->second.count(kind) == 0 ? 0 : it->second.at(kind);
      cells.push_back(Count(n));
    }
    Row(kind, cells);
  }
  std::vector<std::string> passive, pointGrants, heldGrants, refused, failures, longest, slow, ticked, resumed, files,
      exits;
  for (int id : servers) {
    const auto& summary = facts.Summaries.at(id);
    passive.push_back(Count(facts.Books.PassiveRewards.count(id) ? facts.Books.PassiveRewards.at(id) : 0));
    int64_t points = 0, held = 0, refusals = 0;
    for (const Grant& grant : facts.Grants) {
      if (grant.ServerId != id) continue;
      if (grant.Accepted) ++(grant.Held ? held : points);
      if (grant.Refused) ++refusals;
    }
    pointGrants.push_back(Count(points));
    heldGrants.push_back(Count(held));
    refused.push_back(Count(refusals));
    failures.push_back(Count(FailureLines(summary)));
    char tick[32];
    std::snprintf(tick, sizeof(tick), "%.1f ms", summary["longestTickMillis"].get<double>());
    longest.push_back(tick);
    slow.push_back(Count(summary["slowTicks"].get<int64_t>()) + "/" + Count(summary["ticks"].get<int64_t>()));
    auto yesNo = [&](const std::map<int, bool>& seen) {
      if (seen.count(id) == 0) return std::string("-");
      return std::string(seen.count(id) && seen.at(id) ? "yes" : "no");
    };
    ticked.push_back(yesNo(facts.TickedThroughFaults));
    resumed.push_back(yesNo(facts.ResumedAfterFaults));
    files.push_back(facts.CooldownFiles.count(id) ? facts.CooldownFiles.at(id) : "?");
    exits.push_back(facts.ExitCodes.count(id) ? Count(facts.ExitCodes.at(id)) : "?");
  }
  std::vector<std::string> kills, atStart, retried, committed, notCommitted;
  for (int id : servers) {
    const Recoveries found = RecoveriesOf(facts.Summaries.at(id));
    kills.push_back(Count(facts.ServerKills.count(id) ? facts.ServerKills.at(id) : 0));
    atStart.push_back(Count(found.SettledAtStart));
    retried.push_back(Count(found.SettlementsRetried));
    committed.push_back(Count(found.FoundCommitted));
    notCommitted.push_back(Count(found.FoundNotCommitted));
  }
  std::printf("faults and what settled them\n");
  Row("game server killed with kill -9", kills);
  Row("settlements made at start", atStart);
  Row("operations retried (settlements)", retried);
  Row("commit answer lost: id committed", committed);
  Row("commit answer lost: id not committed", notCommitted);
  Row("passive rewards", passive);
  Row("admin point grants over RCON", pointGrants);
  Row("admin held-packet grants over RCON", heldGrants);
  Row("grants refused: database unavailable", refused);
  Row("database failures logged", failures);
  std::printf("the game thread\n");
  Row("longest tick", longest);
  Row("ticks over 50 ms / all", slow);
  Row("kept ticking while the database was down", ticked);
  Row("served again after the restarts", resumed);
  Row("server exit code", exits);
  Row("cooldown file", files);
}

void Pace(const StormFacts& facts) {
  const Throughput t = ThroughputOf(facts);
  std::printf("pace, on %s\n", facts.Database.c_str());
  std::printf("  operations %lld in %.1f s: %.1f per second\n", static_cast<long long>(t.Operations),
              facts.StormSeconds, t.PerSecond);
  std::printf("  transactions tried again %lld (%.2f per thousand operations), given up %lld\n",
              static_cast<long long>(t.Retries), t.RetriesPerThousand, static_cast<long long>(t.GaveUp));
  int64_t longest = 0;
  std::string each;
  for (int64_t millis : facts.DeathToPurchaseMillis) {
    longest = millis < 0 || longest < 0 ? -1 : std::max(longest, millis);
    each += (each.empty() ? "" : ", ") + (millis < 0 ? std::string("none") : std::to_string(millis) + " ms");
  }
  if (!facts.DeathToPurchaseMillis.empty())
    std::printf("  from a kill to the next purchase: longest %s (%s)\n",
                longest < 0 ? "never" : (std::to_string(longest) + " ms").c_str(), each.c_str());
  if (facts.TablesCompared > 0)
    std::printf("  CHECKSUM TABLE of %d shop tables compared on the three nodes\n", facts.TablesCompared);
}

void LogLines(const StormFacts& facts, const std::vector<int>& servers) {
  std::printf("log lines at warning level and above\n");
  for (int id : servers)
    for (const auto& [kind, count] : facts.Summaries.at(id)["logLines"].items())
      std::printf("  server %d: %6lld x %s\n", id, static_cast<long long>(count.get<int64_t>()), kind.c_str());
}

}  // namespace

void PrintReport(const StormFacts& facts) {
  std::vector<int> servers;
  for (const auto& [id, summary] : facts.Summaries) servers.push_back(id);
  std::printf("\nstorm: %zu servers x %d players, %.1f simulated hours, KeepConnections %s, database killed %d of %d "
              "times%s\n\n",
              servers.size(), facts.Players, facts.Hours, facts.KeepConnections ? "true" : "false", facts.KillsDone,
              facts.KillsPlanned,
              facts.CrashedServer == 0
                  ? ""
                  : (", server " + std::to_string(facts.CrashedServer) + " killed with kill -9 during the first outage")
                        .c_str());
  int kills = 0;
  for (const auto& [id, n] : facts.ServerKills) kills += n;
  if (kills > 0 && facts.CrashedServer == 0)
    std::printf("  game servers killed with kill -9 at random moments: %d (%d of them with a charge or a redeem "
                "unsettled)\n",
                kills, facts.KilledWhileOwing);
  if (facts.LostCommitChance > 0)
    std::printf("  through the faulty link: %llu of %llu commit answers lost (chance %.3f)\n",
                static_cast<unsigned long long>(facts.CommitsDropped), static_cast<unsigned long long>(facts.CommitsSeen),
                facts.LostCommitChance);
  std::vector<std::string> header;
  for (int id : servers) header.push_back("server " + std::to_string(id));
  Row("", header);
  Requests(facts, servers);
  Completed(facts, servers);
  LogLines(facts, servers);
  Pace(facts);
  const BooksResult& books = facts.Books;
  std::printf("books\n");
  std::printf("  players checked %d: %d exact (nothing is forgiven)\n", books.PlayersChecked, books.PlayersExact);
  std::printf("  held units: %lld granted, %lld redeemed, %lld still held; %lld arrived in inventories\n",
              static_cast<long long>(books.HeldGranted), static_cast<long long>(books.HeldRedeemed),
              static_cast<long long>(books.HeldLeft), static_cast<long long>(books.CratesArrived));
  std::printf("  held units given back at start after they had arrived (the kill came before the redeem was "
              "settled): %lld\n",
              static_cast<long long>(books.ArrivedThenGivenBack));
  std::printf("  passive rewards and grants committed but not yet told when a kill came: %lld\n",
              static_cast<long long>(books.NotToldBeforeKill));
  std::printf("  grants the server could not tell the outcome of (it said so): %lld kept, %lld not kept\n",
              static_cast<long long>(books.UnknownGrantsKept), static_cast<long long>(books.UnknownGrantsNotKept));
  std::printf("  balances or logged balances below zero: %lld\n", static_cast<long long>(books.NegativeBalances));
  std::printf("  settlements still owed or given up at the end: %lld\n", static_cast<long long>(books.SettlementsLeft));
  constexpr std::size_t kShown = 40;
  for (std::size_t i = 0; i < books.Differences.size() && i < kShown; ++i)
    std::printf("  DIFFERENCE %s\n", books.Differences[i].c_str());
  if (books.Differences.size() > kShown) std::printf("  ... and %zu more differences\n", books.Differences.size() - kShown);
  for (const std::string& problem : facts.Problems) std::printf("  PROBLEM %s\n", problem.c_str());
  const bool closed = books.Closed() && facts.Problems.empty();
  std::printf("  books closed: %s\n\n", closed ? "yes" : "no");
  std::fflush(stdout);
}

}  // namespace storm
