#pragma once
// Everything one simulated server's game holds beyond players: game data and
// game state, spawned creatures, items and inventories, console commands issued
// by players. Reached by tests through Server::Model().
#include "sim/world/ConsoleCommands.h"
#include "sim/world/Creatures.h"
#include "sim/world/GameData.h"
#include "sim/world/Items.h"
#include "sim/world/PlayerCharacters.h"

namespace sim {

class GameModel {
 public:
  GameModel();
  GameModel(const GameModel&) = delete;
  GameModel& operator=(const GameModel&) = delete;

  GameDataModel Data;
  CreatureWorld Creatures;
  ItemWorld Items;
  ConsoleLog Console;
  CharacterConditions Characters;
};

// Registers the game functions and fields of this model (one call from the server).
void RegisterGameModel();

}  // namespace sim
