#pragma once
#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"
#include "AsaApi/Game/TSubclassOf.h"
#include "AsaApi/TArray.h"

struct UPrimalItem : UObject {};
struct UPrimalInventoryComponent;
struct FItemStatInfo;
struct FCustomItemData;

// The game's item stat numbering.
namespace EPrimalItemStat {
enum Type : uint8_t {
  GenericQuality = 0,
  Armor = 1,
  MaxDurability = 2,
  WeaponDamagePercent = 3,
  WeaponClipAmmo = 4,
  HypothermalInsulation = 5,
  Weight = 6,
  HyperthermalInsulation = 7,
  MAX = 8,
};
}  // namespace EPrimalItemStat

namespace Game::UPrimalItem_ {
// Static: the game's item base class.
inline const GameFunction<UClass*()> GetPrivateStaticClass{"UPrimalItem.GetPrivateStaticClass()"};
inline const GameField<int32_t> ItemQuantity{"UPrimalItem.ItemQuantity"};
inline const GameBitField bAllowRemovalFromInventory{"UPrimalItem.bAllowRemovalFromInventory"};
inline const GameBitField bIsEngram{"UPrimalItem.bIsEngram"};
inline const GameBitField bIsBlueprint{"UPrimalItem.bIsBlueprint"};
inline const GameFunction<bool(UPrimalItem*, bool)> IsItemSkin{"UPrimalItem.IsItemSkin(bool)"};
inline const GameField<uint8_t> MyItemType{"UPrimalItem.MyItemType"};
inline const GameField<int32_t> CustomItemID{"UPrimalItem.CustomItemID"};
inline const GameField<float> ItemDurability{"UPrimalItem.ItemDurability"};
// Static: class, inventory (may be null), bForceNoBlueprint, bFromSteamInventory,
// item quality, bForceBlueprint-like flags and quantity as the game lists them.
inline const GameFunction<UPrimalItem*(TSubclassOf<UPrimalItem>, UPrimalInventoryComponent*, bool, bool, float, bool,
                                       int, bool, float, bool, TSubclassOf<UPrimalItem>, float, bool, bool, bool, bool,
                                       bool)>
    AddNewItem{
        "UPrimalItem.AddNewItem(TSubclassOf<UPrimalItem>,UPrimalInventoryComponent*,bool,bool,float,bool,int,bool,"
        "float,bool,TSubclassOf<UPrimalItem>,float,bool,bool,bool,bool,bool)"};
inline const GameFunction<void(UPrimalItem*, float)> OverrideItemRating{"UPrimalItem.OverrideItemRating(float)"};
inline const GameFunction<void(UPrimalItem*, bool, bool)> UpdatedItem{"UPrimalItem.UpdatedItem(bool,bool)"};
// Fills result (a buffer of the game's FItemStatInfo size) and returns it.
inline const GameFunction<FItemStatInfo*(UPrimalItem*, FItemStatInfo*, int)> GetItemStatInfo{
    "UPrimalItem.GetItemStatInfo(int)"};
inline const GameFunction<void(UPrimalItem*, int, int)> SetItemStatValues{"UPrimalItem.SetItemStatValues(int,int)"};
inline const GameFunction<float(UPrimalItem*, EPrimalItemStat::Type)> GetItemStatModifier{
    "UPrimalItem.GetItemStatModifier(EPrimalItemStat::Type)"};
inline const GameFunction<void(UPrimalItem*, TArray<uint8_t>*)> GetItemBytes{
    "UPrimalItem.GetItemBytes(TArray<unsignedchar,TSizedDefaultAllocator<32>>&)"};
// The units one stack of the item holds; the argument is a world context object.
inline const GameFunction<int(UPrimalItem*, UObject*)> GetMaxItemQuantity{"UPrimalItem.GetMaxItemQuantity(UObject*)"};
// Sets the quantity of this very item: new quantity, ShowHUDNotification.
inline const GameFunction<void(UPrimalItem*, int, bool)> SetQuantity{"UPrimalItem.SetQuantity(int,bool)"};
// Takes this very item out of the inventory that holds it: bForceRemoval, showHUDMessage.
inline const GameFunction<void(UPrimalItem*, bool, bool)> RemoveItemFromInventory{
    "UPrimalItem.RemoveItemFromInventory(bool,bool)"};
inline const GameFunction<void(UPrimalItem*, FCustomItemData*)> SetCustomItemData{
    "UPrimalItem.SetCustomItemData(FCustomItemData&)"};
}  // namespace Game::UPrimalItem_
