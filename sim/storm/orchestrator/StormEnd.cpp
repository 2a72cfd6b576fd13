// The end of a storm: the servers finish, the nodes are compared, the books are
// closed, and what else the run must show is checked.
#include "Storm.h"

#include <fstream>
#include <regex>
#include <stdexcept>

#include "Books.h"
#include "StormRoster.h"

namespace storm {

namespace fs = std::filesystem;

void Storm::Finish() {
  for (int id : serverIds_) std::ofstream(ServerDir(id) / FinishFile) << "finish\n";
  for (auto& [id, server] : servers_) facts_.ExitCodes[id] = server->Wait();
  for (int id : serverIds_) {
    const fs::path summary = ServerDir(id) / SummaryFile;
    if (facts_.ExitCodes[id] != 0 || !fs::exists(summary))
      throw std::runtime_error("server " + std::to_string(id) + " ended with " +
                               std::to_string(facts_.ExitCodes[id]) + "; see " +
                               (ServerDir(id) / "storm-server.out").string());
    facts_.Summaries[id] = nlohmann::json::parse(std::ifstream(summary));
  }
}

void Storm::CompareNodes() {
  const std::vector<std::string> tables = ShopTables(cluster_->Address(1), kPrefix);
  facts_.TablesCompared = static_cast<int>(tables.size());
  for (const std::string& differ : TablesThatDiffer(*cluster_, tables, 60000))
    facts_.Problems.push_back("CHECKSUM TABLE differs across the nodes: " + differ);
}

std::string Storm::CheckCooldownFile(int id) {
  std::ifstream in(ServerDir(id) / "ArkApi" / "Plugins" / "TandorShop" / "packetCds.txt");
  if (!in) return "missing";
  const nlohmann::json& summary = facts_.Summaries[id];
  const int64_t end = summary["clockAtEnd"], start = end - summary["simulatedSeconds"].get<int64_t>() - 600;
  static const std::regex line("^Sunrise,([0-9]+)$");
  std::string text;
  int lines = 0;
  while (std::getline(in, text)) {
    std::smatch match;
    ++lines;
    if (!std::regex_match(text, match, line)) return "torn line: " + text;
    const int64_t used = std::stoll(match[1].str());
    if (used < start || used > end + 5) return "time out of range: " + text;
  }
  return "intact, " + std::to_string(lines) + (lines == 1 ? " line" : " lines");
}

void Storm::CloseBooks() {
  BooksInput input;
  input.Database = Db();
  input.Prefix = kPrefix;
  input.Speed = o_.Speed;
  input.Summaries = facts_.Summaries;
  for (int id : serverIds_) input.Players[id] = o_.Players;
  input.Grants = facts_.Grants;
  input.HeldGrantedAgain = heldGrantedAgain_;
  input.ServerKills = facts_.ServerKills;
  facts_.Books = storm::CloseBooks(input);
  facts_.Players = o_.Players;
  facts_.Hours = o_.Hours;
  facts_.KeepConnections = o_.KeepConnections;
  facts_.KillsPlanned = o_.Kills;
  facts_.LostCommitChance = o_.LostCommits;
  facts_.Database = cluster_ ? "a three-node Galera cluster, " + o_.Cluster : "one plain server";
  for (int id : serverIds_) {
    facts_.CooldownFiles[id] = CheckCooldownFile(id);
    if (facts_.CooldownFiles[id].rfind("intact", 0) != 0)
      facts_.Problems.push_back("server " + std::to_string(id) + " cooldown file: " + facts_.CooldownFiles[id]);
    if (o_.Kills > 0 || facts_.ServerKills.count(id) > 0) {
      facts_.ResumedAfterFaults[id] = LoggedRows(id) > rowsAfterRestart_[id];
      if (!facts_.ResumedAfterFaults[id])
        facts_.Problems.push_back("server " + std::to_string(id) + " logged nothing after the last restart");
    }
    if (o_.Kills > 0 && !facts_.TickedThroughFaults[id])
      facts_.Problems.push_back("server " + std::to_string(id) + " stopped ticking while the database was down");
    for (const auto& error : facts_.Summaries[id]["hostErrors"])
      facts_.Problems.push_back("server " + std::to_string(id) + " host error: " + error.get<std::string>());
    for (const auto& error : facts_.Summaries[id]["modLayoutErrors"])
      facts_.Problems.push_back("server " + std::to_string(id) + " mod event layout: " + error.get<std::string>());
  }
  CheckFailuresLogged();
}

void Storm::CheckFailuresLogged() {
  const bool faults = o_.Kills > 0 || o_.ServerKills > 0 || o_.CrashServer || o_.LostCommits > 0;
  int64_t failureLines = 0;
  for (int id : serverIds_)
    for (const auto& [kind, count] : facts_.Summaries[id]["logLines"].items()) {
      if (IsFailureLine(kind))
        failureLines += count.get<int64_t>();
      else if (!faults || !IsRecoveryLine(kind))
        facts_.Problems.push_back("server " + std::to_string(id) + " logged " + kind);
    }
  // On a cluster a killed node may cost nothing but retries.
  if (o_.Kills > 0 && failureLines == 0 && !cluster_)
    facts_.Problems.push_back("the database was killed, but no failure was logged");
  if (o_.Kills == 0 && o_.LostCommits <= 0 && failureLines > 0)
    facts_.Problems.push_back("database failures were logged although the database never went away");
  if (o_.LostCommits > 0 && facts_.CommitsDropped == 0)
    facts_.Problems.push_back("no commit answer was lost on the faulty link");
}

}  // namespace storm
