#include "sim/GameModel.h"

#include "sim/Reflection.h"

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
