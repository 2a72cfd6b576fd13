#include "sim/world/GameData.h"

#include "AsaApi/Game/AShooterGameState.h"
#include "AsaApi/Game/UEngine.h"
#include "AsaApi/Game/UPrimalGameData.h"
#include "AsaApi/Game/UPrimalGlobals.h"
#include "sim/world/GameModel.h"
#include "sim/engine/ProcessObjects.h"
#include "sim/world/HostedFunctions.h"

namespace sim {
namespace {

UEngine* g_engine = nullptr;  // what Global.GEngine points at

}  // namespace

UClass* hosted::GetDinoEntry(GameHost& game, UPrimalGameData* gameData,
                             TSubclassOf<APrimalDinoCharacter> creatureClass) {
  if (gameData == nullptr) return nullptr;
  return reinterpret_cast<UClass*>(
      game.Model().Data.EntryOf(gameData, reinterpret_cast<const SimClass*>(creatureClass.uClass)));
}

GameDataModel::GameDataModel()
    : engine_(NewObject<SimEngine>()),
      globals_(NewObject<SimPrimalGlobals>()),
      gameData_(NewObject<SimPrimalGameData>()),
      override_(NewObject<SimPrimalGameData>()),
      gameState_(NewObject<SimGameState>()) {
  engine_->GameSingleton = &globals_->Header;
  globals_->PrimalGameData = gameData_.get();
  g_engine = reinterpret_cast<UEngine*>(engine_.get());
}

GameDataModel::~GameDataModel() { g_engine = nullptr; }

SimClass* GameDataModel::AddDinoEntry(SimClass* creatureClass, const std::string& nameTag, bool inOverride,
                                      bool withDefaultObject) {
  SimDinoEntry* entry = nullptr;
  if (withDefaultObject) {
    entry = ProcessObjects::Make<SimDinoEntry>();
    entry->DinoNameTag = FName(nameTag.c_str());
  }
  SimClass* entryClass = ClassRegistry::Get().Add("", nullptr, entry == nullptr ? nullptr : &entry->Header);
  if (entry != nullptr) entry->Header.ClassPrivate = reinterpret_cast<UClass*>(entryClass);
  const void* owner = inOverride ? static_cast<const void*>(override_.get()) : gameData_.get();
  entries_[{owner, creatureClass}] = entryClass;
  if (inOverride) UseOverride(true);
  return entryClass;
}

SimClass* GameDataModel::EntryOf(const void* gameData, const SimClass* creatureClass) const {
  auto found = entries_.find({gameData, creatureClass});
  return found == entries_.end() ? nullptr : found->second;
}

void GameDataModel::SetEngineMissing(bool missing) {
  g_engine = missing ? nullptr : reinterpret_cast<UEngine*>(engine_.get());
}

void GameDataModel::SetGameSingletonMissing(bool missing) {
  engine_->GameSingleton = missing ? nullptr : &globals_->Header;
}

void GameDataModel::SetGameDataMissing(bool missing) {
  globals_->PrimalGameData = missing ? nullptr : gameData_.get();
  if (missing) globals_->PrimalGameDataOverride = nullptr;
}

void GameDataModel::UseOverride(bool use) { globals_->PrimalGameDataOverride = use ? override_.get() : nullptr; }

void RegisterGameDataFunctions() {
  using namespace Game;
  host::Register(Global_::GEngine, &g_engine);
  host::Register(UEngine_::GameSingleton, static_cast<std::ptrdiff_t>(offsetof(SimEngine, GameSingleton)));
  host::Register(UPrimalGlobals_::PrimalGameData,
                 static_cast<std::ptrdiff_t>(offsetof(SimPrimalGlobals, PrimalGameData)));
  host::Register(UPrimalGlobals_::PrimalGameDataOverride,
                 static_cast<std::ptrdiff_t>(offsetof(SimPrimalGlobals, PrimalGameDataOverride)));
  host::Register(UPrimalDinoEntry_::DinoNameTag, static_cast<std::ptrdiff_t>(offsetof(SimDinoEntry, DinoNameTag)));
  host::Register(AShooterGameState_::NumTamedDinos, static_cast<std::ptrdiff_t>(offsetof(SimGameState, NumTamedDinos)));
}

}  // namespace sim
