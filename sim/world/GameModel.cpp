#include "sim/world/GameModel.h"

#include "sim/engine/Reflection.h"
#include "sim/world/InventoryRoom.h"

namespace sim {

GameModel::GameModel() { Reflection::ResetKnobs(); }

void RegisterGameModel() {
  RegisterReflectionFunctions();
  RegisterGameDataFunctions();
  RegisterCreatureFunctions();
  RegisterItemFunctions();
  RegisterInventoryRoomFunctions();
  RegisterConsoleCommandFunctions();
  RegisterPlayerCharacterFunctions();
}

}  // namespace sim
