#pragma once
// What happens to an online player's character while they play, without
// rejoining: special items handed over, a full inventory, death, a new level
// or tribe. Scenarios and tests change the world through these.
#include <cstdint>
#include <string>

namespace sim {

class GameModel;
struct SimClass;
struct SimPlayer;

// Hands over count single items of cls, each with that quality (0: plain) and,
// when blueprint is set, as a blueprint. Returns the items the inventory took.
int32_t GiveSingleItems(GameModel& model, SimPlayer& player, const SimClass* cls, int32_t count, bool blueprint,
                        float quality);

// The item class that fills inventories: one per slot, never removable.
const SimClass* FillerItemClass();
// Takes every free slot with a filler item; returns the slots it took.
int32_t FillInventory(GameModel& model, SimPlayer& player);

// The character dies (dead or dying, as the game tells it), or lives again.
void SetDead(GameModel& model, SimPlayer& player, bool dead);

void SetLevel(SimPlayer& player, int32_t level);
// Joins the player to the tribe (its id given by the caller); an empty name leaves any tribe.
void SetTribe(SimPlayer& player, const std::string& name, int32_t tribeId);

}  // namespace sim
