#pragma once
// The game's data as the shop reaches it: Global.GEngine -> UEngine.GameSingleton
// (UPrimalGlobals) -> PrimalGameDataOverride / PrimalGameData (UPrimalGameData),
// whose GetDinoEntry answers the entry class of a creature class; the entry's
// default object carries DinoNameTag. Also the game state with its tamed-creature
// count. One per server; tests may cut any link of the chain.
#include <map>
#include <string>
#include <utility>

#include "AsaApi/FName.h"
#include "sim/engine/Classes.h"
#include "sim/engine/ObjectArray.h"

namespace sim {

struct SimEngine {
  UObject Header;
  UObject* GameSingleton = nullptr;  // SimPrimalGlobals
};

struct SimPrimalGlobals {
  UObject Header;
  void* PrimalGameData = nullptr;          // SimPrimalGameData
  void* PrimalGameDataOverride = nullptr;  // SimPrimalGameData, usually null
};

struct SimPrimalGameData {
  UObject Header;
};

// UPrimalDinoEntry (the default object of an entry class).
struct SimDinoEntry {
  UObject Header;
  FName DinoNameTag;
};

// AShooterGameState.
struct SimGameState {
  UObject Header;
  int32_t NumTamedDinos = 0;
};

class GameDataModel {
 public:
  GameDataModel();  // engine, globals, game data and game state; GEngine points at the engine
  ~GameDataModel();
  GameDataModel(const GameDataModel&) = delete;
  GameDataModel& operator=(const GameDataModel&) = delete;

  // Gives creatureClass an entry named nameTag in the game data (or in the override
  // game data, which then is in use). An entry class without default object: pass
  // withDefaultObject false.
  SimClass* AddDinoEntry(SimClass* creatureClass, const std::string& nameTag, bool inOverride = false,
                         bool withDefaultObject = true);
  // The entry class of creatureClass in gameData, or null.
  SimClass* EntryOf(const void* gameData, const SimClass* creatureClass) const;

  // Cutting the chain: no engine (GEngine null), no game singleton, no game data.
  void SetEngineMissing(bool missing);
  void SetGameSingletonMissing(bool missing);
  void SetGameDataMissing(bool missing);
  // An override game data object (empty unless entries are added to it).
  void UseOverride(bool use);

  SimEngine* Engine() { return engine_.get(); }
  SimPrimalGlobals* Globals() { return globals_.get(); }
  SimPrimalGameData* GameData() { return gameData_.get(); }
  SimPrimalGameData* OverrideGameData() { return override_.get(); }
  SimGameState* GameState() { return gameState_.get(); }
  int32_t NumTamedDinos() const { return gameState_->NumTamedDinos; }

 private:
  ObjectPtr<SimEngine> engine_;
  ObjectPtr<SimPrimalGlobals> globals_;
  ObjectPtr<SimPrimalGameData> gameData_;
  ObjectPtr<SimPrimalGameData> override_;
  ObjectPtr<SimGameState> gameState_;
  std::map<std::pair<const void*, const SimClass*>, SimClass*> entries_;
};

void RegisterGameDataFunctions();

}  // namespace sim
