#include "StormWorld.h"

#include <algorithm>

#include "sim/world/Creatures.h"
#include "sim/world/GameModel.h"
#include "sim/world/Inventory.h"
#include "sim/world/Items.h"

namespace storm {
namespace {

constexpr int32_t kStoneStack = 1000;

sim::SimClass* AddItemClass(const std::string& path, uint8_t itemType = 0) {
  sim::ItemClassSpec spec;
  spec.Path = path;
  spec.ItemType = itemType;
  spec.MaxStack = itemType == 0 ? 1000 : 1;
  return sim::ItemClasses::Add(spec);
}

}  // namespace

StormWorld::StormWorld(sim::Server& server) : server_(server) {
  stone_ = AddItemClass("Blueprint'/Game/Storm/Stone.Stone'");
  crate_ = AddItemClass("Blueprint'/Game/Storm/Crate.Crate'");
  AddItemClass("Blueprint'/Game/Storm/Wood.Wood'");
  AddItemClass("Blueprint'/Game/Storm/Ingot.Ingot'");
  AddItemClass("Blueprint'/Game/Storm/Cryopod.Cryopod'", 1);
  sim::CreatureClassSpec raptor;
  raptor.Path = "Blueprint'/Game/Storm/Raptor_Character_BP.Raptor_Character_BP'";
  raptor.DescriptiveName = "Raptor";
  server_.Model().Data.AddDinoEntry(sim::CreatureClasses::Add(raptor), raptor.DescriptiveName);
}

void StormWorld::Gather(const std::string& eosId, int32_t stones) {
  sim::SimPlayer* player = server_.FindPlayer(eosId);
  if (player != nullptr) server_.Model().Items.NewItem(stone_, player->Character->Inventory, stones);
}

void StormWorld::Stash(const std::string& eosId) {
  sim::SimPlayer* player = server_.FindPlayer(eosId);
  if (player == nullptr) return;
  auto& items = server_.Model().Items;
  sim::SimInventory* inventory = player->Character->Inventory;
  stashedCrates_[eosId] += items.CountOf(inventory, crate_);
  // Stone stays, gathered into one stack, so that the inventory's slots never run out.
  const int32_t stones = std::min(items.CountOf(inventory, stone_), kStoneStack);
  for (sim::SimItem* item : items.ItemsOf(inventory)) items.DeleteItem(item);
  if (stones > 0) items.NewItem(stone_, inventory, stones);
  items.AddNewItemCalls.clear();
  items.IncrementCalls.clear();
}

int64_t StormWorld::CratesOf(const std::string& eosId) {
  Stash(eosId);
  return stashedCrates_[eosId];
}

int64_t StormWorld::CratesSeen(const std::string& eosId) {
  sim::SimPlayer* player = server_.FindPlayer(eosId);
  const int64_t carried = player == nullptr ? 0 : server_.Model().Items.CountOf(player->Character->Inventory, crate_);
  return stashedCrates_[eosId] + carried;
}

}  // namespace storm
