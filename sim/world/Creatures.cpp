#include "sim/world/Creatures.h"

#include <algorithm>
#include <map>

#include "sim/engine/ProcessObjects.h"
#include "sim/engine/Reflection.h"

namespace sim {
namespace {

struct ClassTable {
  SimClass* base = nullptr;
  SimClass* actorBase = nullptr;
  std::map<const SimClass*, CreatureClassSpec> specs;
};
ClassTable& Table() {
  static ClassTable table;
  return table;
}

SimCreature* MakeDefaultObject(SimClass* cls, const CreatureClassSpec& spec) {
  auto* object = ProcessObjects::Make<SimCreature>();
  object->Header.ClassPrivate = reinterpret_cast<UClass*>(cls);
  object->DescriptiveName = FString::FromUtf8(spec.DescriptiveName);
  for (const std::string& tag : spec.Tags) object->Tags.Add(FName(tag.c_str()));
  if (spec.UsesGender) object->DinoFlags |= DinoFlag::UsesGender;
  if (spec.HasSparseData) {
    SimSparseClassData* sparse = ProcessObjects::MakeRecord<SimSparseClassData>();
    sparse->FinalNPCLevelMultiplier = spec.FinalNPCLevelMultiplier;
    sparse->RequiresDLC = spec.RequiresDLC;
    object->SparseClassData = sparse;
  }
  return object;
}

void InitStatus(SimStatusComponent& status, const CreatureClassSpec& spec) {
  for (int i = 0; i < 12; ++i) {
    status.MaxStatusValues[i] = spec.MaxStatus[i];
    // A fresh creature is hurt and hungry: half of health and food.
    status.CurrentStatusValues[i] = (i == 0 || i == 4) ? spec.MaxStatus[i] / 2 : spec.MaxStatus[i];
    status.RecoveryRates[i] = spec.RecoveryRates[i];
    status.NumberOfLevelUpPointsApplied[i] = spec.LevelUpPointsApplied[i];
    status.NumberOfMutationsAppliedTamed[i] = spec.MutationsAppliedTamed[i];
    status.NumberOfLevelUpPointsAppliedTamed[i] = spec.LevelUpPointsAppliedTamed[i];
  }
}

void AppendInt(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

CreatureSnapshot Snapshot(const SimCreature& creature) {
  CreatureSnapshot snapshot;
  snapshot.Class = reinterpret_cast<const SimClass*>(creature.Header.ClassPrivate);
  snapshot.DinoFlags = creature.DinoFlags;
  snapshot.TamerString = creature.TamerString.ToUtf8();
  snapshot.TamingTeamID = creature.TamingTeamID;
  snapshot.TargetingTeam = creature.TargetingTeam;
  snapshot.AbsoluteBaseLevel = creature.AbsoluteBaseLevel;
  snapshot.ImprinterName = creature.ImprinterName.ToUtf8();
  snapshot.ImprinterPlayerUniqueNetId = creature.ImprinterPlayerUniqueNetId.ToUtf8();
  snapshot.DinoID1 = creature.DinoID1;
  snapshot.BegunPlay = creature.BegunPlay;
  snapshot.WildTraitsAdded = creature.WildTraitsAdded;
  snapshot.WildTraitsArgument = creature.WildTraitsArgument;
  snapshot.ResourceProduction.assign(creature.ResourceProduction.begin(), creature.ResourceProduction.end());
  if (const SimStatusComponent* status = creature.StatusComponent) {
    snapshot.HasStatus = true;
    snapshot.DinoImprintingQuality = status->DinoImprintingQuality;
    snapshot.RescaleCount = status->RescaleCount;
    std::copy(std::begin(status->CurrentStatusValues), std::end(status->CurrentStatusValues), snapshot.Current.begin());
    std::copy(std::begin(status->MaxStatusValues), std::end(status->MaxStatusValues), snapshot.Max.begin());
  }
  return snapshot;
}

}  // namespace

SimClass* CreatureClasses::Base() {
  ClassTable& table = Table();
  if (table.base == nullptr) {
    table.base = ClassRegistry::Get().Add("");
    CreatureClassSpec baseSpec;
    baseSpec.DescriptiveName = "Creature";
    table.base->DefaultObject = &MakeDefaultObject(table.base, baseSpec)->Header;
    table.specs[table.base] = baseSpec;
  }
  return table.base;
}

SimClass* CreatureClasses::ActorBase() {
  ClassTable& table = Table();
  if (table.actorBase == nullptr) {
    table.actorBase = ClassRegistry::Get().Add("");
    auto* object = ProcessObjects::Make<SimActor>();
    object->Header.ClassPrivate = reinterpret_cast<UClass*>(table.actorBase);
    table.actorBase->DefaultObject = &object->Header;
  }
  return table.actorBase;
}

SimClass* CreatureClasses::Add(const CreatureClassSpec& spec) {
  SimClass* super = spec.Super != nullptr ? spec.Super : Base();
  SimClass* cls = ClassRegistry::Get().Add(spec.Path, super);
  cls->DefaultObject = &MakeDefaultObject(cls, spec)->Header;
  if (spec.HasResourceProduction)
    Reflection::AddProperty(cls, "ResourceProduction", spec.ResourceProductionElementSize,
                            static_cast<int32_t>(offsetof(SimCreature, ResourceProduction)));
  Table().specs[cls] = spec;
  return cls;
}

const CreatureClassSpec* CreatureClasses::SpecOf(const SimClass* cls) {
  for (const SimClass* at = cls; at != nullptr; at = at->Super) {
    auto found = Table().specs.find(at);
    if (found != Table().specs.end()) return &found->second;
  }
  return nullptr;
}

SimCreature* CreatureClasses::DefaultOf(const SimClass* cls) {
  if (SpecOf(cls) == nullptr || cls->DefaultObject == nullptr) return nullptr;
  return reinterpret_cast<SimCreature*>(cls->DefaultObject);
}

UObject* CreatureWorld::Spawn(const std::string& path, float distance, float yOffset, float zOffset,
                              bool deferBeginPlay, double now) {
  spawns_.push_back({path, distance, yOffset, zOffset, deferBeginPlay});
  SimClass* cls = ClassRegistry::Get().Find(path);
  if (cls == nullptr) return nullptr;
  const CreatureClassSpec* spec = CreatureClasses::SpecOf(cls);
  const bool isCreature = spec != nullptr && ClassRegistry::IsChildOf(cls, CreatureClasses::Base());
  if (!isCreature || spec->SpawnsNonCreature) {
    if (!isCreature && !ClassRegistry::IsChildOf(cls, CreatureClasses::ActorBase())) return nullptr;
    ObjectPtr<SimActor> actor = NewObject<SimActor>();
    actor->Header.ClassPrivate = reinterpret_cast<UClass*>(CreatureClasses::ActorBase());
    actors_.push_back(std::move(actor));
    return &actors_.back()->Header;
  }
  const SimCreature* defaults = CreatureClasses::DefaultOf(cls);
  Spawned spawned;
  spawned.Creature = NewObject<SimCreature>();
  SimCreature& creature = *spawned.Creature;
  creature.Header.ClassPrivate = reinterpret_cast<UClass*>(cls);
  creature.DescriptiveName = defaults->DescriptiveName;
  creature.Tags = defaults->Tags;
  creature.DinoFlags = defaults->DinoFlags & DinoFlag::UsesGender;
  if (spec->SpawnsFemale) creature.DinoFlags |= DinoFlag::IsFemale;
  creature.SparseClassData = defaults->SparseClassData;
  creature.DinoID1 = spec->DinoID1 != 0 ? spec->DinoID1 : nextDinoId_++;
  creature.DinoID2 = creature.DinoID1 * 7 + 3;
  std::copy(spec->Colors.begin(), spec->Colors.end(), creature.ColorSetIndices);
  creature.NextAllowedMatingTime = spec->NextAllowedMatingTime;
  creature.RandomMutationsMale = spec->RandomMutationsMale;
  creature.RandomMutationsFemale = spec->RandomMutationsFemale;
  creature.BabyNextCuddleTime = now + spec->BabyNextCuddleTimeFromNow;
  // A creature that produces resources comes with the class's own production.
  if (spec->HasResourceProduction)
    for (float amount : {1.0f, 2.0f}) creature.ResourceProduction.Add({nullptr, amount, 0});
  if (spec->HasStatusComponent) {
    spawned.Status = NewObject<SimStatusComponent>();
    InitStatus(*spawned.Status, *spec);
    creature.StatusComponent = spawned.Status.get();
  }
  creatures_.push_back(std::move(spawned));
  return &creatures_.back().Creature->Header;
}

bool CreatureWorld::Destroy(const void* actor) {
  auto creature = std::find_if(creatures_.begin(), creatures_.end(),
                               [actor](const Spawned& s) { return s.Creature.get() == actor; });
  if (creature != creatures_.end()) {
    destroyedCreatures_.push_back(Snapshot(*creature->Creature));
    creatures_.erase(creature);
    ++destroyed_;
    return true;
  }
  auto other = std::find_if(actors_.begin(), actors_.end(), [actor](const auto& a) { return a.get() == actor; });
  if (other == actors_.end()) return false;
  actors_.erase(other);
  ++destroyed_;
  return true;
}

std::vector<SimCreature*> CreatureWorld::Creatures() const {
  std::vector<SimCreature*> alive;
  for (const Spawned& spawned : creatures_) alive.push_back(spawned.Creature.get());
  return alive;
}

std::vector<uint8_t> DinoDataBytes(const SimCreature& creature) {
  std::vector<uint8_t> bytes{'D', 'I', 'N', 'O'};
  AppendInt(bytes, static_cast<uint32_t>(creature.DinoID1));
  AppendInt(bytes, static_cast<uint32_t>(creature.DinoID2));
  AppendInt(bytes, static_cast<uint32_t>(creature.AbsoluteBaseLevel));
  AppendInt(bytes, creature.DinoFlags);
  for (int i = 0; i < 40; ++i) bytes.push_back(static_cast<uint8_t>((creature.DinoID1 + i * 31) & 0xFF));
  return bytes;
}

std::vector<std::string> ColorSetNames(const SimCreature& creature) {
  std::vector<std::string> names;
  for (uint8_t index : creature.ColorSetIndices) names.push_back("Color_" + std::to_string(index));
  return names;
}

std::string ColorSetIndicesText(const SimCreature& creature) {
  std::string text;
  for (uint8_t index : creature.ColorSetIndices) {
    if (!text.empty()) text += ",";
    text += std::to_string(index);
  }
  return text;
}

}  // namespace sim
