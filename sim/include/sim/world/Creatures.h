#pragma once
// Creatures of the simulated game: creature classes (process-wide, with default
// objects carrying tags, descriptive name, gender use and sparse class data) and
// the creatures spawned on a server, with status components.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "sim/engine/Classes.h"
#include "sim/engine/ObjectArray.h"
#include "sim/world/World.h"

namespace sim {

// FPrimalDinoCharacterSparseClassData.
struct SimSparseClassData {
  float FinalNPCLevelMultiplier = 1.0f;
  uint8_t RequiresDLC = 0;
};

// UPrimalCharacterStatusComponent: 12-entry arrays as the game keeps them.
struct SimStatusComponent {
  UObject Header;
  float CurrentStatusValues[12] = {};
  float MaxStatusValues[12] = {};
  float RecoveryRates[12] = {};
  uint8_t NumberOfLevelUpPointsApplied[12] = {};
  uint8_t NumberOfMutationsAppliedTamed[12] = {};
  uint8_t NumberOfLevelUpPointsAppliedTamed[12] = {};
  float DinoImprintingQuality = 0;
  int32_t RescaleCount = 0;  // calls of RescaleAllStats
};

// One element of a creature's "ResourceProduction" array (16 bytes).
struct SimResourceProduction {
  UClass* ItemClass = nullptr;
  float Amount = 0;
  uint32_t Unused = 0;
};
static_assert(sizeof(SimResourceProduction) == 16);

namespace DinoFlag {
constexpr uint32_t UsesGender = 1u << 0;
constexpr uint32_t IsFemale = 1u << 1;
constexpr uint32_t Neutered = 1u << 2;
}  // namespace DinoFlag

// APrimalDinoCharacter, also the default object of a creature class. Starts with
// the APrimalCharacter prefix of SimCharacter; TargetingTeam sits where the
// player controller keeps it (both are the game's UPrimalActor.TargetingTeam).
struct SimCreature {
  UObject Header;
  void* Controller = nullptr;
  SimInventory* Inventory = nullptr;
  SimStatusComponent* StatusComponent = nullptr;
  FString DescriptiveName;
  TArray<FName> Tags;  // AActor.Tags
  char TeamPadding[offsetof(SimPlayerController, TargetingTeam) - 40 - 8 * 3 - 16 - 16];
  int32_t TargetingTeam = 0;
  uint32_t DinoFlags = 0;  // DinoFlag bits
  FString TamerString;
  int32_t TamingTeamID = 0;
  int32_t AbsoluteBaseLevel = 0;
  FString ImprinterName;
  FString ImprinterPlayerUniqueNetId;
  int32_t DinoID1 = 0;
  int32_t DinoID2 = 0;
  double BabyNextCuddleTime = 0;
  double NextAllowedMatingTime = 0;
  int32_t RandomMutationsMale = 0;
  int32_t RandomMutationsFemale = 0;
  uint8_t ColorSetIndices[6] = {};
  TArray<SimResourceProduction> ResourceProduction;
  SimSparseClassData* SparseClassData = nullptr;  // the class's; null: none
  // The simulator's own bookkeeping.
  bool BegunPlay = false;
  bool WildTraitsAdded = false;
  int32_t WildTraitsArgument = -1;
};
static_assert(offsetof(SimCreature, Inventory) == offsetof(SimCharacter, Inventory));
static_assert(offsetof(SimCreature, StatusComponent) == offsetof(SimCharacter, StatusComponent));
static_assert(offsetof(SimCreature, DescriptiveName) == offsetof(SimCharacter, DescriptiveName));
static_assert(offsetof(SimCreature, TargetingTeam) == offsetof(SimPlayerController, TargetingTeam));

// An actor that is not a creature.
struct SimActor {
  UObject Header;
};

// A creature class as a test describes it.
struct CreatureClassSpec {
  std::string Path;                 // asset path; empty: not loadable by path
  SimClass* Super = nullptr;        // null: the game's creature base class
  std::string DescriptiveName = "Dino";
  std::vector<std::string> Tags;
  bool UsesGender = true;
  bool SpawnsFemale = false;        // bIsFemale before the shop touches it
  bool HasSparseData = true;
  float FinalNPCLevelMultiplier = 1.0f;
  uint8_t RequiresDLC = 0;
  bool HasStatusComponent = true;
  bool HasResourceProduction = false;   // a "ResourceProduction" property
  int32_t ResourceProductionElementSize = 16;
  bool SpawnsNonCreature = false;   // SpawnActor on its path gives an actor that is not a creature
  int32_t DinoID1 = 0;              // 0: the spawner counts
  std::array<float, 12> MaxStatus{1000, 500, 800, 150, 3000, 100, 0, 600, 1, 1, 0, 0};
  std::array<float, 12> RecoveryRates{1.5f, 10, -2, 3, -0.5f, -0.2f, 0, 0, 0, 0, 0, 0};
  std::array<uint8_t, 12> LevelUpPointsApplied{};
  std::array<uint8_t, 12> MutationsAppliedTamed{};
  std::array<uint8_t, 12> LevelUpPointsAppliedTamed{};
  std::array<uint8_t, 6> Colors{1, 2, 3, 4, 5, 6};
  double NextAllowedMatingTime = 0;
  int32_t RandomMutationsMale = 0;
  int32_t RandomMutationsFemale = 0;
  double BabyNextCuddleTimeFromNow = 0;
};

// Creature classes, process-wide like every class.
class CreatureClasses {
 public:
  // The game's creature base class (APrimalDinoCharacter.GetPrivateStaticClass()).
  static SimClass* Base();
  // The base of actors that are not creatures.
  static SimClass* ActorBase();
  static SimClass* Add(const CreatureClassSpec& spec);
  // The spec of a creature class (or of its nearest described super class), or null.
  static const CreatureClassSpec* SpecOf(const SimClass* cls);
  static SimCreature* DefaultOf(const SimClass* cls);
};

// A creature as it was when it was destroyed, for tests to read.
struct CreatureSnapshot {
  const SimClass* Class = nullptr;
  uint32_t DinoFlags = 0;
  std::string TamerString;
  int32_t TamingTeamID = 0;
  int32_t TargetingTeam = 0;
  int32_t AbsoluteBaseLevel = 0;
  std::string ImprinterName;
  std::string ImprinterPlayerUniqueNetId;
  int32_t DinoID1 = 0;
  bool BegunPlay = false;
  bool WildTraitsAdded = false;
  int32_t WildTraitsArgument = -1;
  std::vector<SimResourceProduction> ResourceProduction;
  bool HasStatus = false;
  float DinoImprintingQuality = 0;
  int32_t RescaleCount = 0;
  std::array<float, 12> Current{};
  std::array<float, 12> Max{};

  bool Female() const { return (DinoFlags & DinoFlag::IsFemale) != 0; }
  bool Neutered() const { return (DinoFlags & DinoFlag::Neutered) != 0; }
};

// What one SpawnActor call asked for.
struct SpawnRequest {
  std::string Path;
  float Distance = 0, YOffset = 0, ZOffset = 0;
  bool DoDeferBeginPlay = false;
};

// The creatures and other actors spawned on one server.
class CreatureWorld {
 public:
  CreatureWorld() = default;
  CreatureWorld(const CreatureWorld&) = delete;
  CreatureWorld& operator=(const CreatureWorld&) = delete;

  // Spawns the class at path (null: unknown path or not an actor class).
  UObject* Spawn(const std::string& path, float distance, float yOffset, float zOffset, bool deferBeginPlay,
                 double now);
  // Destroys a spawned actor: it leaves the world and weak pointers to it go null.
  bool Destroy(const void* actor);
  // The creatures alive in the world, in spawn order.
  std::vector<SimCreature*> Creatures() const;
  std::size_t ActorCount() const { return creatures_.size() + actors_.size(); }
  const std::vector<SpawnRequest>& Spawns() const { return spawns_; }
  std::size_t Destroyed() const { return destroyed_; }
  // The creatures destroyed so far, oldest first.
  const std::vector<CreatureSnapshot>& DestroyedCreatures() const { return destroyedCreatures_; }
  // The bytes GetDinoData gave most recently, and how often it was called.
  std::vector<uint8_t> LastDinoData;
  int32_t DinoDataCalls = 0;

 private:
  struct Spawned {
    ObjectPtr<SimCreature> Creature;
    ObjectPtr<SimStatusComponent> Status;
  };
  std::vector<Spawned> creatures_;
  std::vector<ObjectPtr<SimActor>> actors_;
  std::vector<SpawnRequest> spawns_;
  std::size_t destroyed_ = 0;
  std::vector<CreatureSnapshot> destroyedCreatures_;
  int32_t nextDinoId_ = 100001;
};

// The deterministic bytes GetDinoData answers for a creature.
std::vector<uint8_t> DinoDataBytes(const SimCreature& creature);
// "Color_<index>" names and "i,i,i,i,i,i" as the colour functions answer.
std::vector<std::string> ColorSetNames(const SimCreature& creature);
std::string ColorSetIndicesText(const SimCreature& creature);

void RegisterCreatureFunctions();

}  // namespace sim
