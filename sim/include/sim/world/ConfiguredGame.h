#pragma once
// The game's side of a shop configuration: every asset the configuration names
// exists in the simulated game, as the real game ships them. Item paths become
// item classes, creature paths creature classes with a game data entry, texture
// paths textures; the game's cryopod exists too.
#include <nlohmann/json.hpp>

namespace sim {

class GameHost;

// The cryopod the game ships (what the shop packs creatures into by default).
inline constexpr const char* GameCryopodPath =
    "Blueprint'/Game/Extinction/CoreBlueprints/Weapons/PrimalItem_WeaponEmptyCryopod.PrimalItem_WeaponEmptyCryopod'";

// Adds what the configuration names to the game of the running server. Classes are
// process-wide and made once; a new server gets its own game data entries and
// textures.
void AddConfiguredGame(const nlohmann::json& config, GameHost& game);

}  // namespace sim
