#include "StormObservations.h"

#include <optional>
#include <regex>
#include <string_view>

#include "StormClock.h"
#include "StormRoster.h"

namespace storm {
namespace {

constexpr double kSlowTickMillis = 50.0;

// "Passive reward: 25 points." -> 25; -1 when the text is something else.
int32_t PassiveAmount(const std::string& text) {
  static const std::regex pattern("^Passive reward: (-?[0-9]+) points\\.$");
  std::smatch match;
  if (!std::regex_match(text, match, pattern)) return -1;
  return std::stoi(match[1].str());
}

std::string MessageKind(const std::string& text) {
  if (text.rfind("Bought ", 0) == 0) return "bought";
  if (text.rfind("Redeemed ", 0) == 0) return "redeemed";
  if (text.rfind("Sent ", 0) == 0) return "sent";
  if (text.rfind("Received ", 0) == 0) return "received";
  return "other";
}

// "Settled redeem <id> (left by an earlier run): ..." -> "Settled redeem (left by an
// earlier run)"; "...; operation <id> did commit" -> "...; operation did commit":
// lines that vary only by the operation id count as one kind.
std::string WithoutOperationId(const std::string& text) {
  static const std::regex settled("^(\\[[a-z]+\\] Settled (purchase|redeem)) [0-9a-f]{32} (\\([^)]*\\)).*$");
  static const std::regex lookedUp("^(.*; operation) [0-9a-f]{32} (did commit|did not commit)$");
  std::smatch match;
  if (std::regex_match(text, match, settled)) return match[1].str() + " " + match[3].str();
  if (std::regex_match(text, match, lookedUp)) return match[1].str() + " " + match[2].str();
  return text;
}

// "[debug] <op>: try N after error E" (seen when the plugin logs at debug level)
// as "[debug] <op>: tried again after error E"; empty for any other line.
std::string RetryKind(const std::string& line) {
  static const std::regex pattern("\\[debug\\] (.+): try [0-9]+ after error (-?[0-9]+)$");
  std::smatch match;
  if (line.find("[debug] ") == std::string::npos || !std::regex_search(line, match, pattern)) return {};
  return "[debug] " + match[1].str() + TriedAgain + match[2].str();
}

}  // namespace

std::string LogLineKind(const std::string& line) {
  static constexpr std::string_view kRetried = "[info] Settlement tried again";
  if (line.find(kRetried) != std::string::npos) return std::string(kRetried);
  if (std::string kind = RetryKind(line); !kind.empty()) return kind;
  for (const char* level : {"[warning] ", "[error] ", "[critical] "}) {
    const std::size_t at = line.find(level);
    if (at == std::string::npos) continue;
    std::string text = WithoutOperationId(line.substr(at));
    // "(path DBHelper::op) Unexpected DB error <server text>" keeps the operation.
    const std::size_t open = text.find('(');
    const std::size_t close = text.find(") Unexpected DB error");
    if (open != std::string::npos && close != std::string::npos && open < close) {
      const std::size_t name = text.rfind(' ', close);
      return text.substr(0, open) + text.substr(name + 1, close - name - 1) + ": Unexpected DB error";
    }
    // "<operation> did not happen for eosId <id>: <what>" keeps the operation.
    static constexpr std::string_view kLost = " did not happen";
    const std::size_t lost = text.find(std::string(kLost) + " for eosId ");
    if (lost != std::string::npos) return text.substr(0, lost + kLost.size());
    return text;
  }
  return {};
}

std::optional<HeldGivenBack> GivenBackAtStart(const std::string& line) {
  static const std::regex pattern("Settled redeem [0-9a-f]{32} \\(left by an earlier run\\): ([0-9]+) units of held "
                                  "packet '.*' given back to eosId ([^ ]+)$");
  std::smatch match;
  if (!std::regex_search(line, match, pattern)) return std::nullopt;
  return HeldGivenBack{match[2].str(), std::stoll(match[1].str())};
}

void Observations::ReadLogLine(const std::string& line) {
  const std::string kind = LogLineKind(line);
  if (kind.empty()) return;
  ++logLines_[kind];
  if (journal_.is_open()) journal_ << nlohmann::json{{"log", kind}}.dump() << '\n';
  if (const auto back = GivenBackAtStart(line)) {
    givenBackAtStart_[back->EosId] += back->Units;
    if (journal_.is_open()) journal_ << nlohmann::json{{"givenBack", {back->EosId, back->Units}}}.dump() << '\n';
  }
}

void Observations::Collect(const std::vector<std::string>& eosIds) {
  const int64_t now = WallMillis();
  for (const std::string& eosId : eosIds) {
    PlayerSeen& seen = players_[eosId];
    for (const sim::ReceivedMessage& message : server_.MessagesOf(eosId)) {
      const int32_t amount = PassiveAmount(message.Text);
      if (amount >= 0) {
        seen.Passive.push_back({now, amount});
        if (journal_.is_open()) journal_ << nlohmann::json{{"passive", {eosId, now, amount}}}.dump() << '\n';
      } else {
        ++seen.Messages[MessageKind(message.Text)];
      }
    }
  }
  if (journal_.is_open()) journal_.flush();
  for (const std::string& line : server_.LogLines()) ReadLogLine(line);
  server_.ClearRecords();
}

void Observations::OpenJournal(const std::string& path) { journal_.open(path, std::ios::app); }

std::map<std::string, int64_t> Observations::LoadJournal(const std::string& path) {
  std::map<std::string, int64_t> crates;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
    if (entry.is_discarded()) continue;  // the last line, cut by the kill
    if (entry.contains("passive")) {
      const auto& p = entry["passive"];
      players_[p[0].get<std::string>()].Passive.push_back({p[1].get<int64_t>(), p[2].get<int32_t>()});
    } else if (entry.contains("log")) {
      ++logLines_[entry["log"].get<std::string>()];
    } else if (entry.contains("givenBack")) {
      givenBackAtStart_[entry["givenBack"][0].get<std::string>()] += entry["givenBack"][1].get<int64_t>();
    } else if (entry.contains("crates")) {
      crates[entry["crates"][0].get<std::string>()] = entry["crates"][1].get<int64_t>();
    }
  }
  return crates;
}

void Observations::JournalCrates(const std::string& eosId, int64_t crates) {
  if (!journal_.is_open()) return;
  journal_ << nlohmann::json{{"crates", {eosId, crates}}}.dump() << '\n';
  journal_.flush();
}

void Observations::RecordTick(double millis) {
  ++ticks_;
  if (millis > kSlowTickMillis) ++slowTicks_;
  if (millis > longestTick_) longestTick_ = millis;
}

nlohmann::json Observations::ToJson() const {
  nlohmann::json players = nlohmann::json::object();
  for (const auto& [eosId, seen] : players_) {
    nlohmann::json passive = nlohmann::json::array();
    int64_t total = 0;
    for (const PassiveReward& reward : seen.Passive) {
      passive.push_back({reward.WallMillis, reward.Amount});
      total += reward.Amount;
    }
    players[eosId] = {{"passive", passive}, {"passiveTotal", total}, {"messages", seen.Messages}};
  }
  return {{"players", players},
          {"logLines", logLines_},
          {"heldGivenBackAtStart", givenBackAtStart_},
          {"ticks", ticks_},
          {"slowTicks", slowTicks_},
          {"longestTickMillis", longestTick_}};
}

}  // namespace storm
