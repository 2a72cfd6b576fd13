#pragma once
// What a mod adds to the world: classes whose functions the game finds by name
// and calls with a parameter block, a buff on every player character, and the
// messages that buff sends into the game. The client mod stand-in is one; the
// server is handed it (GameHost::Content()).
#include <string>

#include "AsaApi/Game/APrimalBuff.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/UFunction.h"
#include "sim/world/World.h"

namespace sim {

class ModContent {
 public:
  // A function of cls (or of its supers when includeSuper) by name; null when none.
  virtual UFunction* FindFunctionByName(UClass* cls, const std::string& name, bool includeSuper) = 0;
  // The game calls function on object with its parameter block.
  virtual void CallFunction(UObject* object, UFunction* function, void* block) = 0;
  // The character's buff of class cls (or a subclass); null when the mod has none.
  virtual APrimalBuff* BuffOfClass(SimCharacter* character, UClass* cls) = 0;
  // A message the buff sent reached the game's own function.
  virtual void MessageReachedGame() = 0;
  virtual void PlayerLeft(const SimCharacter* character) = 0;

 protected:
  ~ModContent() = default;
};

}  // namespace sim
