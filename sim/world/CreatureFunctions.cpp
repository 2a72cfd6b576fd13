// The game functions and fields of creatures, their status components, the
// creature data record and spawning by path.
#include <cmath>

#include "AsaApi/Game/AActor.h"
#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/FARKDinoData.h"
#include "AsaApi/Game/UPrimalActor.h"
#include "AsaApi/Game/UPrimalCharacterStatusComponent.h"
#include "AsaApi/Game/UWorld.h"
#include "sim/world/GameModel.h"
#include "sim/engine/Reflection.h"
#include "sim/world/HostedFunctions.h"

namespace sim {
namespace {

// FARKDinoData as the game lays it out.
struct SimARKDinoData {
  UClass* DinoClass = nullptr;
  TArray<uint8_t> DinoData;
  FString DinoNameInMap;
  FString DinoName;
  float DinoExperiencePoints = 0;
  int32_t Padding = 0;
  uint64_t DinoID = 0;
};

constexpr std::ptrdiff_t Off(std::size_t offset) { return static_cast<std::ptrdiff_t>(offset); }

SimCreature* AsCreature(void* object) { return static_cast<SimCreature*>(object); }
SimStatusComponent* AsStatus(void* object) { return static_cast<SimStatusComponent*>(object); }

UClass* CreatureBaseClass() { return reinterpret_cast<UClass*>(CreatureClasses::Base()); }

FPrimalDinoCharacterSparseClassData* SparseData(APrimalDinoCharacter* creature, EGetSparseClassDataMethod) {
  if (creature == nullptr) return nullptr;
  return reinterpret_cast<FPrimalDinoCharacterSparseClassData*>(AsCreature(creature)->SparseClassData);
}

FPrimalDinoCharacterSparseClassData* SparseDataDefault(APrimalDinoCharacter* creature) {
  return SparseData(creature, EGetSparseClassDataMethod::ReturnIfNull);
}

void AddWildGeneTraits(APrimalDinoCharacter* creature, bool argument) {
  AsCreature(creature)->WildTraitsAdded = true;
  AsCreature(creature)->WildTraitsArgument = argument ? 1 : 0;
}

}  // namespace

void hosted::DinoBeginPlay(GameHost& game, APrimalDinoCharacter* creature) {
  SimCreature* dino = AsCreature(creature);
  dino->BegunPlay = true;
  // A tamed creature counts towards the world's tamed creatures.
  if (dino->TamingTeamID != 0) game.Model().Data.GameState()->NumTamedDinos += 1;
}

bool hosted::DestroyActor(GameHost& game, AActor* actor, bool, bool) { return game.Model().Creatures.Destroy(actor); }

bool hosted::DestroyDino(GameHost& game, APrimalDinoCharacter* creature, bool netForce, bool modifyLevel) {
  return DestroyActor(game, reinterpret_cast<AActor*>(creature), netForce, modifyLevel);
}

void hosted::GetDinoData(GameHost& game, APrimalDinoCharacter* creature, FARKDinoData* out) {
  SimCreature* dino = AsCreature(creature);
  auto* record = reinterpret_cast<SimARKDinoData*>(out);
  const std::vector<uint8_t> bytes = DinoDataBytes(*dino);
  record->DinoClass = dino->Header.ClassPrivate;
  record->DinoData.Empty();
  for (uint8_t byte : bytes) record->DinoData.Add(byte);
  record->DinoNameInMap = dino->DescriptiveName + FString(" - Lvl ") + FString(std::to_string(dino->AbsoluteBaseLevel));
  record->DinoName = dino->DescriptiveName;
  record->DinoID = (static_cast<uint64_t>(static_cast<uint32_t>(dino->DinoID1)) << 32) |
                   static_cast<uint32_t>(dino->DinoID2);
  CreatureWorld& world = game.Model().Creatures;
  world.LastDinoData = bytes;
  world.DinoDataCalls += 1;
}

namespace {

TArray<FName>* ColorNames(APrimalDinoCharacter* creature, TArray<FName>* out) {
  out->Empty();
  for (const std::string& name : ColorSetNames(*AsCreature(creature))) out->Add(FName(name.c_str()));
  return out;
}

FString* ColorIndices(APrimalDinoCharacter* creature, FString* out) {
  *out = FString::FromUtf8(ColorSetIndicesText(*AsCreature(creature)));
  return out;
}

float RecoveryRate(UPrimalCharacterStatusComponent* status, EPrimalCharacterStatusValue::Type index) {
  if (index >= 12) return 0;
  return AsStatus(status)->RecoveryRates[index];
}

void RescaleAllStats(UPrimalCharacterStatusComponent* component) {
  SimStatusComponent* status = AsStatus(component);
  // Imprinting raises every maximum by a fifth of the imprint quality.
  for (float& max : status->MaxStatusValues) max = std::round(max * (1.0f + 0.2f * status->DinoImprintingQuality));
  status->RescaleCount += 1;
}

}  // namespace

AActor* hosted::SpawnActor(GameHost& game, AShooterPlayerController*, FString* path, float distance, float yOffset,
                           float zOffset, bool deferBeginPlay) {
  if (path == nullptr) return nullptr;
  return reinterpret_cast<AActor*>(game.Model().Creatures.Spawn(path->ToUtf8(), distance, yOffset, zOffset,
                                                                deferBeginPlay, game.World()->TimeSeconds));
}

namespace {

UScriptStruct* DinoDataStruct() {
  return reinterpret_cast<UScriptStruct*>(
      Reflection::StaticStructOf("FARKDinoData", static_cast<int32_t>(sizeof(SimARKDinoData))));
}

void RegisterStatusComponent() {
  using namespace Game::UPrimalCharacterStatusComponent_;
  host::Register(CurrentStatusValues, Off(offsetof(SimStatusComponent, CurrentStatusValues)));
  host::Register(MaxStatusValues, Off(offsetof(SimStatusComponent, MaxStatusValues)));
  host::Register(NumberOfLevelUpPointsApplied, Off(offsetof(SimStatusComponent, NumberOfLevelUpPointsApplied)));
  host::Register(NumberOfMutationsAppliedTamed, Off(offsetof(SimStatusComponent, NumberOfMutationsAppliedTamed)));
  host::Register(NumberOfLevelUpPointsAppliedTamed,
                 Off(offsetof(SimStatusComponent, NumberOfLevelUpPointsAppliedTamed)));
  host::Register(DinoImprintingQuality, Off(offsetof(SimStatusComponent, DinoImprintingQuality)));
  host::Register(GetStatusValueRecoveryRate, &RecoveryRate);
  host::Register(Game::UPrimalCharacterStatusComponent_::RescaleAllStats, &sim::RescaleAllStats);
}

void RegisterDinoFields() {
  using namespace Game::APrimalDinoCharacter_;
  const auto flags = Off(offsetof(SimCreature, DinoFlags));
  host::Register(bUsesGender, host::BitFieldInfo{flags, 0, 1});
  host::Register(bIsFemale, host::BitFieldInfo{flags, 1, 1});
  host::Register(bNeutered, host::BitFieldInfo{flags, 2, 1});
  host::Register(TamerString, Off(offsetof(SimCreature, TamerString)));
  host::Register(TamingTeamID, Off(offsetof(SimCreature, TamingTeamID)));
  host::Register(AbsoluteBaseLevel, Off(offsetof(SimCreature, AbsoluteBaseLevel)));
  host::Register(ImprinterName, Off(offsetof(SimCreature, ImprinterName)));
  host::Register(ImprinterPlayerUniqueNetId, Off(offsetof(SimCreature, ImprinterPlayerUniqueNetId)));
  host::Register(DinoID1, Off(offsetof(SimCreature, DinoID1)));
  host::Register(BabyNextCuddleTime, Off(offsetof(SimCreature, BabyNextCuddleTime)));
  host::Register(NextAllowedMatingTime, Off(offsetof(SimCreature, NextAllowedMatingTime)));
  host::Register(RandomMutationsMale, Off(offsetof(SimCreature, RandomMutationsMale)));
  host::Register(RandomMutationsFemale, Off(offsetof(SimCreature, RandomMutationsFemale)));
  host::Register(Game::FPrimalDinoCharacterSparseClassData_::FinalNPCLevelMultiplier,
                 Off(offsetof(SimSparseClassData, FinalNPCLevelMultiplier)));
  host::Register(Game::FPrimalDinoCharacterSparseClassData_::RequiresDLC,
                 Off(offsetof(SimSparseClassData, RequiresDLC)));
}

void RegisterDinoFunctions() {
  using namespace Game::APrimalDinoCharacter_;
  host::Register(GetPrivateStaticClass, &CreatureBaseClass);
  host::Register(GetPrimalDinoCharacterSparseClassData, &SparseData);
  host::Register(GetPrimalDinoCharacterSparseClassDataDefault, &SparseDataDefault);
  host::Register(Game::APrimalDinoCharacter_::AddWildGeneTraits, &sim::AddWildGeneTraits);
  host::Register(GetColorSetNamesAsArray, &ColorNames);
  host::Register(GetColorSetInidcesAsString, &ColorIndices);
}

void RegisterDinoDataRecord() {
  using namespace Game::FARKDinoData_;
  host::Register(StaticStruct, &DinoDataStruct);
  host::Register(DinoClass, Off(offsetof(SimARKDinoData, DinoClass)));
  host::Register(DinoData, Off(offsetof(SimARKDinoData, DinoData)));
  host::Register(DinoNameInMap, Off(offsetof(SimARKDinoData, DinoNameInMap)));
  host::Register(DinoName, Off(offsetof(SimARKDinoData, DinoName)));
}

}  // namespace

void RegisterCreatureFunctions() {
  host::Register(Game::AActor_::Tags, Off(offsetof(SimCreature, Tags)));
  host::Register(Game::UPrimalActor_::TargetingTeam, Off(offsetof(SimCreature, TargetingTeam)));
  host::Register(Game::APrimalCharacter_::MyInventoryComponent, Off(offsetof(SimCharacter, Inventory)));
  host::Register(Game::APrimalCharacter_::MyCharacterStatusComponent, Off(offsetof(SimCharacter, StatusComponent)));
  host::Register(Game::APrimalCharacter_::DescriptiveName, Off(offsetof(SimCharacter, DescriptiveName)));
  host::Register(Game::UWorld_::GameState, Off(offsetof(SimWorld, GameState)));
  host::Register(Game::UWorld_::TimeSeconds, Off(offsetof(SimWorld, TimeSeconds)));
  RegisterStatusComponent();
  RegisterDinoFields();
  RegisterDinoFunctions();
  RegisterDinoDataRecord();
}

}  // namespace sim
