#include "sim/world/GameModel.h"

#include "sim/engine/Reflection.h"

namespace sim {

GameModel::GameModel() { Reflection::ResetKnobs(); }

void RegisterGameModel() {
  RegisterReflectionFunctions();
  RegisterGameDataFunctions();
  RegisterCreatureFunctions();
  RegisterItemFunctions();
  RegisterConsoleCommandFunctions();
  RegisterPlayerCharacterFunctions();
}

}  // namespace sim
