#pragma once
// What the game tells about a player's character beyond its fields: which
// character a controller plays, and whether it is dead or dying. Tests kill
// and revive characters here.
#include <set>

namespace sim {

struct SimCharacter;

class CharacterConditions {
 public:
  void SetDeadOrDying(const SimCharacter* character, bool dead) {
    if (dead)
      dead_.insert(character);
    else
      dead_.erase(character);
  }
  bool IsDeadOrDying(const SimCharacter* character) const { return dead_.count(character) != 0; }

 private:
  std::set<const SimCharacter*> dead_;
};

// Registers AShooterPlayerController.GetPlayerCharacter() and APrimalCharacter.IsDeadOrDying().
void RegisterPlayerCharacterFunctions();

}  // namespace sim
