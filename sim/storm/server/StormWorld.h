#pragma once
// The game content the storm's shop names: item classes for what is bought, sold
// and held, the creature sold in a cryopod; and the players' housekeeping: stone
// they gather, and goods they carry off to their bases (so inventories never fill).
#include <cstdint>
#include <map>
#include <string>

#include "sim/engine/Classes.h"
#include "sim/assembly/Server.h"

namespace storm {

class StormWorld {
 public:
  explicit StormWorld(sim::Server& server);

  // Every player gathers some stone.
  void Gather(const std::string& eosId, int32_t stones);
  // Moves everything but stone out of the player's inventory; crates are counted first.
  void Stash(const std::string& eosId);
  // Crates (units of held packets) that arrived in the player's inventory so far.
  int64_t CratesOf(const std::string& eosId);
  // The same without moving anything.
  int64_t CratesSeen(const std::string& eosId);
  // Crates that arrived in an earlier life of this server (before a crash).
  void AddEarlierCrates(const std::string& eosId, int64_t crates) { stashedCrates_[eosId] += crates; }

 private:
  sim::Server& server_;
  sim::SimClass* stone_ = nullptr;
  sim::SimClass* crate_ = nullptr;
  std::map<std::string, int64_t> stashedCrates_;
};

}  // namespace storm
