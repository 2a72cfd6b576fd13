#include "sim/world/Items.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "sim/engine/ProcessObjects.h"

namespace sim {
namespace {

void CopyFromDefault(SimItem& item, const SimItem& defaults) {
  item.ItemFlags = defaults.ItemFlags;
  item.MyItemType = defaults.MyItemType;
  item.MaxStack = defaults.MaxStack;
  std::copy(std::begin(defaults.StatInfos), std::end(defaults.StatInfos), std::begin(item.StatInfos));
}

void AppendBytes(std::vector<uint8_t>& bytes, const void* data, std::size_t size) {
  const std::size_t end = bytes.size();
  bytes.resize(end + size);
  std::memcpy(bytes.data() + end, data, size);
}

}  // namespace

SimClass* ItemClasses::Base() {
  static SimClass* base = [] {
    SimClass* cls = ClassRegistry::Get().Add("");
    auto* defaults = ProcessObjects::Make<SimItem>();
    defaults->Header.ClassPrivate = reinterpret_cast<UClass*>(cls);
    cls->DefaultObject = &defaults->Header;
    return cls;
  }();
  return base;
}

SimClass* ItemClasses::Add(const ItemClassSpec& spec) {
  SimClass* cls = ClassRegistry::Get().Add(spec.Path, spec.Super != nullptr ? spec.Super : Base());
  auto* defaults = ProcessObjects::Make<SimItem>();
  defaults->Header.ClassPrivate = reinterpret_cast<UClass*>(cls);
  defaults->MyItemType = spec.ItemType;
  defaults->MaxStack = std::max(1, spec.MaxStack);
  defaults->ItemFlags = (spec.AllowRemoval ? ItemFlag::AllowRemoval : 0u) | (spec.IsEngram ? ItemFlag::IsEngram : 0u) |
                        (spec.IsSkin ? ItemFlag::IsSkin : 0u);
  std::copy(spec.Stats.begin(), spec.Stats.end(), std::begin(defaults->StatInfos));
  cls->DefaultObject = &defaults->Header;
  return cls;
}

SimItem* ItemClasses::DefaultOf(const SimClass* cls) {
  if (cls == nullptr || cls->DefaultObject == nullptr || !ClassRegistry::IsChildOf(cls, Base())) return nullptr;
  return reinterpret_cast<SimItem*>(cls->DefaultObject);
}

SimInventory* ItemWorld::NewInventory(int32_t maxSlots) {
  inventories_.push_back(NewObject<SimInventory>());
  inventories_.back()->MaxSlots = maxSlots;
  return inventories_.back().get();
}

SimItem* ItemWorld::NewItem(const SimClass* cls, SimInventory* inventory, int32_t quantity) {
  const SimItem* defaults = ItemClasses::DefaultOf(cls);
  if (defaults == nullptr) return nullptr;
  if (inventory != nullptr && inventory->Full()) return nullptr;
  ObjectPtr<SimItem> item = NewObject<SimItem>();
  item->Header.ClassPrivate = reinterpret_cast<UClass*>(const_cast<SimClass*>(cls));
  CopyFromDefault(*item, *defaults);
  item->ItemQuantity = std::max(1, quantity);
  item->Inventory = inventory;
  if (inventory != nullptr) inventory->InventoryItems.Add(reinterpret_cast<UPrimalItem*>(item.get()));
  items_.push_back(std::move(item));
  return items_.back().get();
}

void ItemWorld::DeleteItem(SimItem* item) {
  if (item == nullptr) return;
  if (item->Inventory != nullptr)
    item->Inventory->InventoryItems.RemoveAll(
        [item](UPrimalItem* held) { return static_cast<void*>(held) == static_cast<void*>(item); });
  items_.erase(std::remove_if(items_.begin(), items_.end(), [item](const auto& owned) { return owned.get() == item; }),
               items_.end());
}

int32_t ItemWorld::CountOf(const SimInventory* inventory, const SimClass* cls) const {
  int32_t total = 0;
  for (SimItem* item : ItemsOf(inventory, cls)) total += item->ItemQuantity;
  return total;
}

std::vector<SimItem*> ItemWorld::ItemsOf(const SimInventory* inventory, const SimClass* cls) const {
  std::vector<SimItem*> found;
  if (inventory == nullptr) return found;
  for (UPrimalItem* held : inventory->InventoryItems) {
    auto* item = reinterpret_cast<SimItem*>(held);
    if (cls == nullptr || reinterpret_cast<const SimClass*>(item->Header.ClassPrivate) == cls) found.push_back(item);
  }
  return found;
}

std::vector<SimItem*> ItemWorld::ItemsWithoutInventory() const {
  std::vector<SimItem*> found;
  for (const auto& item : items_)
    if (item->Inventory == nullptr) found.push_back(item.get());
  return found;
}

std::vector<uint8_t> ItemBytes(const SimItem& item) {
  std::vector<uint8_t> bytes{'I', 'T', 'E', 'M'};
  const int32_t classIndex = item.Header.ClassPrivate == nullptr
                                 ? -1
                                 : reinterpret_cast<const SimClass*>(item.Header.ClassPrivate)->Header.InternalIndex;
  AppendBytes(bytes, &classIndex, sizeof classIndex);
  AppendBytes(bytes, &item.ItemRating, sizeof item.ItemRating);
  AppendBytes(bytes, item.ItemStatValues, sizeof item.ItemStatValues);
  bytes.push_back((item.ItemFlags & ItemFlag::IsBlueprint) != 0 ? 1 : 0);
  return bytes;
}

DecodedItemBytes DecodeItemBytes(const std::vector<uint8_t>& bytes) {
  DecodedItemBytes decoded;
  constexpr std::size_t size = 4 + 4 + 4 + 16 + 1;
  if (bytes.size() != size || std::memcmp(bytes.data(), "ITEM", 4) != 0) return decoded;
  std::memcpy(&decoded.ClassIndex, bytes.data() + 4, 4);
  std::memcpy(&decoded.Rating, bytes.data() + 8, 4);
  std::memcpy(decoded.StatValues, bytes.data() + 12, 16);
  decoded.Blueprint = bytes[28] != 0;
  decoded.Valid = true;
  return decoded;
}

}  // namespace sim
