#pragma once
// Items of the simulated game: item classes (process-wide, default objects with
// item type and stat infos) and, per server, the items and the inventories that
// hold them (sim/Inventory.h).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AsaApi/TArray.h"
#include "sim/engine/Classes.h"
#include "sim/world/CustomItemData.h"
#include "sim/world/Inventory.h"
#include "sim/engine/ObjectArray.h"

namespace sim {

// FItemStatInfo as the game lays it out.
struct SimItemStatInfo {
  int32_t DefaultModifierValue = 0;
  int32_t RandomizerRangeOverride = 0;
  float RandomizerRangeMultiplier = 1.0f;
  float TheRandomizerPower = 1.0f;
  float StateModifierScale = 0.001f;
  float InitialValueConstant = 0.0f;
  float RatingValueMultiplier = 1.0f;
  float AbsoluteMaxValue = 0.0f;
  uint32_t Flags = 0;
  float Padding[9] = {};
};
static_assert(sizeof(SimItemStatInfo) == 0x48);

namespace ItemFlag {
constexpr uint32_t AllowRemoval = 1u << 0;
constexpr uint32_t IsEngram = 1u << 1;
constexpr uint32_t IsBlueprint = 1u << 2;
constexpr uint32_t IsSkin = 1u << 3;
}  // namespace ItemFlag

// UPrimalItem, also the default object of an item class.
struct SimItem {
  UObject Header;
  int32_t ItemQuantity = 1;
  uint32_t ItemFlags = ItemFlag::AllowRemoval;
  uint8_t MyItemType = 0;
  float ItemQuality = 0;  // as AddNewItem received it
  float ItemRating = 0;   // OverrideItemRating
  int32_t RatingOverrides = 0;
  uint16_t ItemStatValues[8] = {};
  float ItemDurability = 0;
  int32_t CustomItemID = 0;
  SimInventory* Inventory = nullptr;
  TArray<SimCustomItemData> CustomItemDatas;  // deep copies, in host memory
  int32_t UpdatedCalls = 0;
  bool LastUpdatedArgs[2] = {};
  SimItemStatInfo StatInfos[8];  // the class's (copied from its default object)
  int32_t MaxStack = 100;
};

// An item class as a test describes it. Item types: 1 equipment and weapons,
// 2 armor, 6 saddles, 7 structures-like single items; others stack.
struct ItemClassSpec {
  std::string Path;
  SimClass* Super = nullptr;  // null: the game's item base class
  uint8_t ItemType = 0;
  int32_t MaxStack = 100;
  bool AllowRemoval = true;
  bool IsEngram = false;
  bool IsSkin = false;
  std::array<SimItemStatInfo, 8> Stats{};
};

class ItemClasses {
 public:
  // The game's item base class (UPrimalItem.GetPrivateStaticClass()).
  static SimClass* Base();
  static SimClass* Add(const ItemClassSpec& spec);
  static SimItem* DefaultOf(const SimClass* cls);  // null: not an item class
};

// One call of AddNewItem or IncrementItemTemplateQuantity, arguments as received.
struct AddNewItemCall {
  UClass* ItemClass = nullptr;
  void* Inventory = nullptr;
  float Quality = 0;
  int32_t Quantity = 0;
  std::vector<bool> Flags;  // the ten bools in order
  float MinRandomQuality = 0, ClampStats = 0;
  UClass* SkinClass = nullptr;
};
struct IncrementCall {
  UClass* ItemClass = nullptr;
  int32_t Amount = 0;
  bool SpecificItemGiven = false;
  bool SlotGiven = false;
  std::vector<bool> Flags;  // the eleven bools in order
};

class ItemWorld {
 public:
  ItemWorld() = default;
  ItemWorld(const ItemWorld&) = delete;
  ItemWorld& operator=(const ItemWorld&) = delete;

  SimInventory* NewInventory(int32_t maxSlots = 300);
  // A new item of cls (inventory may be null); null when the inventory is full.
  SimItem* NewItem(const SimClass* cls, SimInventory* inventory, int32_t quantity);
  // Takes item out of the world (and out of its inventory).
  void DeleteItem(SimItem* item);

  int32_t CountOf(const SimInventory* inventory, const SimClass* cls) const;
  std::vector<SimItem*> ItemsOf(const SimInventory* inventory, const SimClass* cls = nullptr) const;
  std::vector<SimItem*> ItemsWithoutInventory() const;
  std::size_t ItemCount() const { return items_.size(); }

  std::vector<AddNewItemCall> AddNewItemCalls;
  std::vector<IncrementCall> IncrementCalls;

 private:
  std::vector<ObjectPtr<SimInventory>> inventories_;
  std::vector<ObjectPtr<SimItem>> items_;
};

// The bytes GetItemBytes answers, and their decoding.
struct DecodedItemBytes {
  int32_t ClassIndex = -1;  // the class's InternalIndex
  float Rating = 0;
  uint16_t StatValues[8] = {};
  bool Blueprint = false;
  bool Valid = false;
};
std::vector<uint8_t> ItemBytes(const SimItem& item);
DecodedItemBytes DecodeItemBytes(const std::vector<uint8_t>& bytes);

void RegisterItemFunctions();

}  // namespace sim
