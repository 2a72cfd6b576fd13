#include "StormReport.h"

#include <cstdio>
#include <set>

namespace storm {

bool IsFailureLine(const std::string& kind) {
  return kind.find("Failed to open connection!") != std::string::npos ||
         kind.find("Unexpected DB error") != std::string::npos || kind.find(" did not happen") != std::string::npos ||
         kind.find(": gave up after ") != std::string::npos;
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
      if (facts.KillsDone == 0) return std::string("-");
      return std::string(seen.count(id) && seen.at(id) ? "yes" : "no");
    };
    ticked.push_back(yesNo(facts.TickedThroughFaults));
    resumed.push_back(yesNo(facts.ResumedAfterFaults));
    files.push_back(facts.CooldownFiles.count(id) ? facts.CooldownFiles.at(id) : "?");
    exits.push_back(facts.ExitCodes.count(id) ? Count(facts.ExitCodes.at(id)) : "?");
  }
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
  std::vector<std::string> header;
  for (int id : servers) header.push_back("server " + std::to_string(id));
  Row("", header);
  Requests(facts, servers);
  Completed(facts, servers);
  LogLines(facts, servers);
  const BooksResult& books = facts.Books;
  std::printf("books\n");
  std::printf("  players checked %d: %d exact (nothing is forgiven)\n", books.PlayersChecked, books.PlayersExact);
  std::printf("  held units: %lld granted, %lld redeemed, %lld still held; %lld arrived in inventories\n",
              static_cast<long long>(books.HeldGranted), static_cast<long long>(books.HeldRedeemed),
              static_cast<long long>(books.HeldLeft), static_cast<long long>(books.CratesArrived));
  std::printf("  balances or logged balances below zero: %lld\n", static_cast<long long>(books.NegativeBalances));
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
