#include "sim/world/PlayerChanges.h"

#include "sim/engine/Classes.h"
#include "sim/world/GameModel.h"
#include "sim/world/Inventory.h"
#include "sim/world/Items.h"
#include "sim/world/World.h"

namespace sim {
namespace {

constexpr const char* kFillerPath = "Blueprint'/Game/Sim/Items/PrimalItem_SlotFiller.PrimalItem_SlotFiller'";

}  // namespace

int32_t GiveSingleItems(GameModel& model, SimPlayer& player, const SimClass* cls, int32_t count, bool blueprint,
                        float quality) {
  int32_t given = 0;
  for (; given < count; ++given) {
    SimItem* item = model.Items.NewItem(cls, player.Character->Inventory, 1);
    if (item == nullptr) break;  // the inventory is full
    if (blueprint) item->ItemFlags |= ItemFlag::IsBlueprint;
    item->ItemQuality = quality;
  }
  return given;
}

const SimClass* FillerItemClass() {
  if (SimClass* known = ClassRegistry::Get().Find(kFillerPath)) return known;
  ItemClassSpec spec;
  spec.Path = kFillerPath;
  spec.MaxStack = 1;
  spec.AllowRemoval = false;
  return ItemClasses::Add(spec);
}

int32_t FillInventory(GameModel& model, SimPlayer& player) {
  SimInventory& inventory = *player.Character->Inventory;
  const SimClass* filler = FillerItemClass();
  int32_t taken = 0;
  while (!inventory.Full() && model.Items.NewItem(filler, &inventory, 1) != nullptr) ++taken;
  return taken;
}

void SetDead(GameModel& model, SimPlayer& player, bool dead) {
  model.Characters.SetDeadOrDying(player.Character.get(), dead);
}

void SetLevel(SimPlayer& player, int32_t level) { player.State->CharacterLevel = level; }

void SetTribe(SimPlayer& player, const std::string& name, int32_t tribeId) {
  player.State->TribeName = FString::FromUtf8(name);
  player.State->TribeId = name.empty() ? 0 : tribeId;
  player.Controller->TargetingTeam = player.State->TribeId;
}

}  // namespace sim
