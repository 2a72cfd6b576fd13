#pragma once
// The records of the shop catalogue and of the sections beside it: categories,
// packets with their items, dinos and commands, time filters, gacha and Stryder
// options, items to sell, reward packets and group privileges.
//
// Every record kind carries an `Id`: a 0-based ordinal counted per kind over the
// whole file, in file order, over accepted entries only. Records are read-only
// between two reads of the configuration; pointers into these lists (reward
// packets, parsed packet strings) are valid only until the next read.
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "config/AssetPath.h"

namespace ConfigHelper {

struct ConfigShopCategory {
  // CategoryView (the mod's copy of name, icon and id) is added by the mod channel.
  FString Name;
  FString Description;
  TArray<FString> ExcludeGroups;
  TArray<FString> IncludeGroups;
  ConfigAssetPath IconOverride;
  int32_t Id = 0;
};

struct ConfigItemVariant {
  FString Name;
  ConfigAssetPath Blueprint;
  float FixedArmor = 0.f;
  float FixedDamage = 0.f;
  float FixedDura = 0.f;
  float FixedHypo = 0.f;
  float FixedHyper = 0.f;
  float Quality = 0.f;
  int32_t PriceIncrease = 0;
  int32_t Amount = 0;
  int32_t LimitBlueprintUse = 0;
  int32_t Id = 0;
  int32_t ItemId = 0;
  bool ForceBlueprint = false;
};

struct ConfigItem {
  int32_t Id = 0;
  TArray<ConfigItemVariant> Variants;
};

enum class DinoGender : int32_t { Random = 0, Male = 1, Female = 2 };

struct ConfigDinoVariant {
  FString Name;
  ConfigAssetPath Blueprint;
  ConfigAssetPath Saddle;  // empty: no saddle
  float ImprintQuality = 0.f;
  float SaddleQuality = 0.f;
  float FixedSaddleArmor = 0.f;
  int32_t PriceIncrease = 0;
  int32_t Level = 0;
  DinoGender Gender = DinoGender::Random;
  int32_t Id = 0;
  int32_t DinoId = 0;
  bool Neutered = false;
  bool HasTraits = true;
  bool HasGachaResources = false;
  bool HasStryderItems = false;
};

struct ConfigDino {
  int32_t Id = 0;
  TArray<ConfigDinoVariant> Variants;
};

struct ConfigCommandVariant {
  FString Name;
  FString Command;  // placeholders are expanded at delivery
  FString Title;
  FString Description;
  ConfigAssetPath IconOverride;
  int32_t PriceIncrease = 0;
  bool AsAdmin = false;
  int32_t Id = 0;
  int32_t CommandId = 0;
};

struct ConfigCommand {
  int32_t Id = 0;
  bool VisibleInShop = true;
  TArray<ConfigCommandVariant> Variants;
};

struct ConfigShopPacket {
  // PacketView (what the mod is sent about the packet) is added by the mod channel.
  int32_t Id = 0;
  int32_t CategoryId = -1;  // index into ShopCategories
  FString ShopCategory;     // as written in the file
  FString PacketName;
  int32_t Price = 0;
  bool HideFromBuy = false;
  bool ExcludeFromDiscount = false;
  int32_t EarliestAvailableAtServerTime = 0;  // seconds
  FString Description;
  int32_t ServerCooldown = 0;  // seconds
  int32_t PlayerCooldown = 0;  // seconds
  int32_t MinCharLevel = 0;
  int32_t MaxCharLevel = 0;
  int32_t MaxPurchaseSameTime = 0;
  ConfigAssetPath IconOverride;
  TArray<FString> OnlyOnTheseMaps;
  TArray<FString> ExcludeGroups;
  TArray<FString> IncludeGroups;
  bool HasExtraTimeSettings = false;
  TArray<ConfigItem> Items;
  TArray<ConfigDino> Dinos;
  TArray<ConfigCommand> Commands;
};

// Calendar filter: Sunday = 0 for week days, January = 0 for months, month days
// as written (1 to 31).
struct ConfigTimeFilter {
  TArray<int32_t> WeekDays;
  TArray<int32_t> MonthDays;
  TArray<int32_t> Months;
};

struct ConfigExtraTimeSettings {
  int32_t PacketId = 0;
  ConfigTimeFilter Include;
  ConfigTimeFilter Exclude;
  bool HasInclude = false;
  bool HasExclude = false;
};

struct ConfigGachaResource {
  float Amount = 0.f;
  ConfigAssetPath Item;
};

struct ConfigGachaResources {
  static constexpr int32_t Count = 6;
  int32_t DinoVariantId = 0;
  TArray<ConfigGachaResource> Resources;  // exactly Count entries, file order
};

struct ConfigStryderItems {
  int32_t DinoVariantId = 0;
  ConfigAssetPath HeadItem;
  ConfigAssetPath BodyItem;
};

struct ConfigItemToSell {
  // SellView (the mod's copy of icon, class, texts and numbers) is added by the mod channel.
  int32_t Id = 0;
  FString Name;
  ConfigAssetPath ItemToSell;
  int32_t Amount = 0;
  int32_t Price = 0;
  ConfigAssetPath IconOverride;
  FString Description;
  int32_t MaxSellAtOnce = 0;
};

struct ConfigRewardPacket {
  const ConfigShopPacket* ShopPacket = nullptr;  // valid until the next read
  int32_t InitAmountIfInViableGroups = 0;
  int32_t MaxItemAmount = 0;
  FString Name;
  int32_t Id = 0;
};

struct ConfigGroupPrivilege {
  FString GroupName;
  float ShopDiscount = 0.f;  // fraction: 0.15 is 15 %
  int32_t PassivePointsAmount = 0;
};

// Every list read from "GroupPrivileges", "ShopCategories", "ItemsToSell",
// "ShopPackets" and "RewardPackets". The process-wide configuration derives
// from it.
struct ConfigCatalogue {
  TArray<ConfigGroupPrivilege> GroupPrivileges;
  TArray<ConfigShopCategory> ShopCategories;
  TArray<ConfigItemToSell> ItemsToSell;
  TArray<ConfigShopPacket> ShopPackets;  // sorted by PacketName, ignoring case
  TArray<ConfigRewardPacket> RewardPackets;
  TArray<ConfigExtraTimeSettings> ExtraTimeSettings;
  TArray<ConfigGachaResources> GachaResources;
  TArray<ConfigStryderItems> StryderItems;

  void ClearCatalogue() {
    RewardPackets.Empty();  // first: they point into ShopPackets
    GroupPrivileges.Empty();
    ShopCategories.Empty();
    ItemsToSell.Empty();
    ShopPackets.Empty();
    ExtraTimeSettings.Empty();
    GachaResources.Empty();
    StryderItems.Empty();
  }
};

}  // namespace ConfigHelper
