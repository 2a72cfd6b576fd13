#pragma once
// The storm's players: each one, on its own seeded dice, opens the shop and its
// lists, buys items, creatures and commands, sells stone, sends points to players
// of both servers and redeems what it holds, and now and then hammers the same
// request several times in one tick, as an impatient client does.
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/assembly/Server.h"

namespace storm {

struct HeldView {
  int32_t RewardId = -1;
  std::string PacketName;
  int32_t Amount = 0;
  bool AllVariants = false;
};

struct Bot {
  int Index = 0;
  std::string EosId;
  std::string Name;
  std::vector<HeldView> Held;  // the last redeem list the mod showed
};

struct BotSettings {
  int ServerId = 1;
  int Players = 50;
  int PeerServerId = 2;
  int PeerPlayers = 50;
  double ActionsPerHour = 60;  // per player
  uint64_t Seed = 1;
};

// What the bots sent, by request kind ("buy item", "trade", ...), and how many
// of those were repeats inside one tick (the throttle's business).
struct SentCounts {
  std::map<std::string, uint64_t> Sent;
  std::map<std::string, uint64_t> Repeats;
};

class Bots {
 public:
  Bots(sim::Server& server, BotSettings settings);

  const std::vector<Bot>& All() const { return bots_; }
  // One tick's worth of decisions: each bot acts with its per-tick chance.
  void Act();
  // Reads what the mod showed (category lists give variant ids, redeem lists the
  // held packets) and forgets the recorded events.
  void ReadModEvents();
  // Asks for every category once, so that purchases can name variants by id.
  void LearnCatalogue();
  bool CatalogueKnown() const;
  const SentCounts& Counts() const { return counts_; }

 private:
  void ActAs(Bot& bot);
  void Send(Bot& bot, const std::string& kind, const std::string& message, int32_t int1 = 0, int32_t int2 = 0,
            const std::string& text = "");
  void Buy(Bot& bot, const std::string& kind, const std::string& packetString);
  void Trade(Bot& bot);
  void Redeem(Bot& bot);
  std::string BuyString(const std::string& packet);
  int Roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

  sim::Server& server_;
  BotSettings settings_;
  std::mt19937_64 random_;
  double chancePerTick_ = 0;
  std::vector<Bot> bots_;
  // Variant ids per packet as the category lists showed them: items, dinos, commands.
  using Groups = std::vector<std::vector<int32_t>>;  // per item, dino or command: its variants' ids
  std::map<std::string, std::vector<Groups>> variantIds_;
  SentCounts counts_;
};

}  // namespace storm
