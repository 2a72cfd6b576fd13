#pragma once
// What one storm server saw happen, from the outside: the chat messages its
// players received (passive rewards, purchases, redeems, trades), the plugin's
// log lines at warning level and above, and how long each game tick took.
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/assembly/Server.h"

namespace storm {

struct PassiveReward {
  int64_t WallMillis = 0;  // when the player was told
  int32_t Amount = 0;
};

struct PlayerSeen {
  std::vector<PassiveReward> Passive;
  std::map<std::string, uint64_t> Messages;  // by kind: "bought", "redeemed", "sent", "received", "other"
};

// Held units a settlement made at start gave back: a redeem that an earlier life
// of the server (killed with kill -9) took and never settled.
struct HeldGivenBack {
  std::string EosId;
  int64_t Units = 0;
};
std::optional<HeldGivenBack> GivenBackAtStart(const std::string& line);

class Observations {
 public:
  explicit Observations(sim::Server& server) : server_(server) {}

  // Takes what the players were told and what the plugin logged since the last
  // call, then lets the server forget it (long runs).
  void Collect(const std::vector<std::string>& eosIds);

  // The journal: what the players were told and the crates that arrived, written
  // as it happens, so that a server killed with kill -9 and started again knows
  // what its earlier life saw. Loading returns the crates of the earlier life.
  void OpenJournal(const std::string& path);
  std::map<std::string, int64_t> LoadJournal(const std::string& path);
  void JournalCrates(const std::string& eosId, int64_t crates);
  void RecordTick(double millis);

  double LongestTickMillis() const { return longestTick_; }
  nlohmann::json ToJson() const;

 private:
  void ReadLogLine(const std::string& line);

  sim::Server& server_;
  std::ofstream journal_;
  std::map<std::string, PlayerSeen> players_;
  std::map<std::string, uint64_t> logLines_;  // warning and above, by their fixed text
  std::map<std::string, int64_t> givenBackAtStart_;  // held units, by player
  uint64_t ticks_ = 0;
  uint64_t slowTicks_ = 0;  // over 50 ms
  double longestTick_ = 0;
};

// The fixed text of a log line at warning level and above (and of the info line of
// a settlement tried again): the part after the level, with what varies (paths,
// numbers, operation ids, the server's error text) cut off.
std::string LogLineKind(const std::string& line);

}  // namespace storm
