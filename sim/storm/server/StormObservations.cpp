#include "StormObservations.h"

#include <regex>

#include "StormClock.h"

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

}  // namespace

std::string LogLineKind(const std::string& line) {
  for (const char* level : {"[warning] ", "[error] ", "[critical] "}) {
    const std::size_t at = line.find(level);
    if (at == std::string::npos) continue;
    std::string text = line.substr(at);
    // "(path DBHelper::op) Unexpected DB error <server text>" keeps the operation.
    const std::size_t open = text.find('(');
    const std::size_t close = text.find(") Unexpected DB error");
    if (open != std::string::npos && close != std::string::npos && open < close) {
      const std::size_t name = text.rfind(' ', close);
      return text.substr(0, open) + text.substr(name + 1, close - name - 1) + ": Unexpected DB error";
    }
    return text;
  }
  return {};
}

void Observations::ReadLogLine(const std::string& line) {
  const std::string kind = LogLineKind(line);
  if (!kind.empty()) ++logLines_[kind];
}

void Observations::Collect(const std::vector<std::string>& eosIds) {
  const int64_t now = WallMillis();
  for (const std::string& eosId : eosIds) {
    PlayerSeen& seen = players_[eosId];
    for (const sim::ReceivedMessage& message : server_.MessagesOf(eosId)) {
      const int32_t amount = PassiveAmount(message.Text);
      if (amount >= 0) seen.Passive.push_back({now, amount});
      else ++seen.Messages[MessageKind(message.Text)];
    }
  }
  for (const std::string& line : server_.LogLines()) ReadLogLine(line);
  server_.ClearRecords();
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
          {"ticks", ticks_},
          {"slowTicks", slowTicks_},
          {"longestTickMillis", longestTick_}};
}

}  // namespace storm
