// The game functions and fields of items and inventories.
#include "AsaApi/Game/FItemStatInfo.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "sim/world/GameModel.h"
#include "sim/engine/Reflection.h"
#include "sim/world/HostedFunctions.h"

namespace sim {
namespace {

constexpr std::ptrdiff_t Off(std::size_t offset) { return static_cast<std::ptrdiff_t>(offset); }

SimItem* AsItem(void* object) { return static_cast<SimItem*>(object); }

UClass* ItemBaseClass() { return reinterpret_cast<UClass*>(ItemClasses::Base()); }

UScriptStruct* StatInfoStruct() {
  return reinterpret_cast<UScriptStruct*>(
      Reflection::StaticStructOf("FItemStatInfo", static_cast<int32_t>(sizeof(SimItemStatInfo))));
}

}  // namespace

UPrimalItem* hosted::AddNewItem(GameHost& game, TSubclassOf<UPrimalItem> cls, UPrimalInventoryComponent* inventory,
                                bool b1, bool b2, float quality, bool b3, int quantity, bool b4, float minRandomQuality,
                                bool b5, TSubclassOf<UPrimalItem> skin, float clampStats, bool b6, bool b7, bool b8,
                                bool b9, bool b10) {
  ItemWorld* world = &game.Model().Items;
  world->AddNewItemCalls.push_back(
      {cls.uClass, inventory, quality, quantity, {b1, b2, b3, b4, b5, b6, b7, b8, b9, b10}, minRandomQuality,
       clampStats, skin.uClass});
  SimItem* item = world->NewItem(reinterpret_cast<SimClass*>(cls.uClass), reinterpret_cast<SimInventory*>(inventory),
                                 quantity);
  if (item != nullptr) item->ItemQuality = quality;
  return reinterpret_cast<UPrimalItem*>(item);
}

int hosted::IncrementItemTemplateQuantity(GameHost& game, UPrimalInventoryComponent* inventory, TSubclassOf<UPrimalItem> cls, int amount,
                                  bool b1, bool b2, UPrimalItem** specificItem, UPrimalItem** slot, bool b3, bool b4,
                                  bool b5, bool b6, bool b7, bool b8, bool b9, bool b10, bool b11) {
  ItemWorld* world = &game.Model().Items;
  if (inventory == nullptr) return 0;
  world->IncrementCalls.push_back({cls.uClass, amount, specificItem != nullptr, slot != nullptr,
                                   {b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11}});
  SimItem* touched = nullptr;
  const int32_t changed = IncrementQuantity(*world, *reinterpret_cast<SimInventory*>(inventory),
                                            reinterpret_cast<SimClass*>(cls.uClass), amount, &touched);
  if (slot != nullptr) *slot = reinterpret_cast<UPrimalItem*>(touched);
  return changed;
}

namespace {

bool IsItemSkin(UPrimalItem* item, bool) { return (AsItem(item)->ItemFlags & ItemFlag::IsSkin) != 0; }

void OverrideItemRating(UPrimalItem* item, float rating) {
  AsItem(item)->ItemRating = rating;
  AsItem(item)->RatingOverrides += 1;
}

void UpdatedItem(UPrimalItem* item, bool first, bool second) {
  AsItem(item)->UpdatedCalls += 1;
  AsItem(item)->LastUpdatedArgs[0] = first;
  AsItem(item)->LastUpdatedArgs[1] = second;
}

FItemStatInfo* GetItemStatInfo(UPrimalItem* item, FItemStatInfo* result, int index) {
  auto* info = reinterpret_cast<SimItemStatInfo*>(result);
  *info = (index >= 0 && index < 8) ? AsItem(item)->StatInfos[index] : SimItemStatInfo{};
  return result;
}

void SetItemStatValues(UPrimalItem* item, int index, int value) {
  if (index >= 0 && index < 8) AsItem(item)->ItemStatValues[index] = static_cast<uint16_t>(value);
}

float GetItemStatModifier(UPrimalItem* item, EPrimalItemStat::Type index) {
  if (index >= 8) return 0;
  const SimItemStatInfo& info = AsItem(item)->StatInfos[index];
  const float base = index == EPrimalItemStat::WeaponDamagePercent ? 1.0f : info.InitialValueConstant;
  return base + AsItem(item)->ItemStatValues[index] * info.RandomizerRangeMultiplier * info.StateModifierScale * base;
}

void GetItemBytes(UPrimalItem* item, TArray<uint8_t>* out) {
  out->Empty();
  for (uint8_t byte : ItemBytes(*AsItem(item))) out->Add(byte);
}

void SetCustomItemData(UPrimalItem* item, FCustomItemData* data) {
  if (data == nullptr) return;
  AsItem(item)->CustomItemDatas.Add(*reinterpret_cast<const SimCustomItemData*>(data));  // a deep copy
}

void RegisterItemFields() {
  using namespace Game::UPrimalItem_;
  const auto flags = Off(offsetof(SimItem, ItemFlags));
  host::Register(ItemQuantity, Off(offsetof(SimItem, ItemQuantity)));
  host::Register(bAllowRemovalFromInventory, host::BitFieldInfo{flags, 0, 1});
  host::Register(bIsEngram, host::BitFieldInfo{flags, 1, 1});
  host::Register(bIsBlueprint, host::BitFieldInfo{flags, 2, 1});
  host::Register(MyItemType, Off(offsetof(SimItem, MyItemType)));
  host::Register(CustomItemID, Off(offsetof(SimItem, CustomItemID)));
  host::Register(ItemDurability, Off(offsetof(SimItem, ItemDurability)));
  host::Register(Game::UPrimalInventoryComponent_::InventoryItems, Off(offsetof(SimInventory, InventoryItems)));
  using namespace Game::FItemStatInfo_;
  host::Register(StaticStruct, &StatInfoStruct);
  host::Register(InitialValueConstant, Off(offsetof(SimItemStatInfo, InitialValueConstant)));
  host::Register(StateModifierScale, Off(offsetof(SimItemStatInfo, StateModifierScale)));
  host::Register(RandomizerRangeMultiplier, Off(offsetof(SimItemStatInfo, RandomizerRangeMultiplier)));
}

}  // namespace

void RegisterItemFunctions() {
  using namespace Game::UPrimalItem_;
  host::Register(GetPrivateStaticClass, &ItemBaseClass);
  host::Register(Game::UPrimalItem_::IsItemSkin, &sim::IsItemSkin);
  host::Register(Game::UPrimalItem_::OverrideItemRating, &sim::OverrideItemRating);
  host::Register(Game::UPrimalItem_::UpdatedItem, &sim::UpdatedItem);
  host::Register(Game::UPrimalItem_::GetItemStatInfo, &sim::GetItemStatInfo);
  host::Register(Game::UPrimalItem_::SetItemStatValues, &sim::SetItemStatValues);
  host::Register(Game::UPrimalItem_::GetItemStatModifier, &sim::GetItemStatModifier);
  host::Register(Game::UPrimalItem_::GetItemBytes, &sim::GetItemBytes);
  host::Register(Game::UPrimalItem_::SetCustomItemData, &sim::SetCustomItemData);
  RegisterItemFields();
  RegisterCustomItemDataFields();
}

}  // namespace sim
