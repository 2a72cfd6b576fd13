#pragma once
// The parameter blocks of the mod's events and the view records inside them.
// Their layouts are the mod's blueprint structures: fields in order, natural
// alignment; every size and offset is asserted.
#include <cstddef>
#include <cstdint>

#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "records/ModCommRecords.h"

struct UTexture2D;
struct UClass;

namespace ModComm {

struct CooldownPair {
  int32_t PacketId = 0;
  int32_t LastUse = 0;
};
static_assert(sizeof(CooldownPair) == 8);
static_assert(offsetof(CooldownPair, LastUse) == 4);

struct ButtonView {
  int32_t Kind = 0;
  FString Text;
  UTexture2D* Icon = nullptr;
};
static_assert(sizeof(ButtonView) == 32);
static_assert(offsetof(ButtonView, Text) == 8);
static_assert(offsetof(ButtonView, Icon) == 24);

struct GlobalSettingsBlock {
  FString ShopName;
  FString BuffName;
  FString ShopKey;
  TArray<ButtonView> Buttons;
  UTexture2D* BuffIcon = nullptr;
  UTexture2D* ShopIcon = nullptr;
  uint8_t PreventWhileRiding = 0;
  uint8_t PreventWhileHandcuffed = 0;
  uint8_t PreventWhileKnockedOut = 0;
  int32_t RewardIntervalMinutes = 0;
  uint8_t ShowBuffIcon = 0;
  uint8_t DisableTrade = 0;
  uint8_t DisableSell = 0;
  uint8_t DisableMultiuse = 0;
  uint8_t Valid = 0;
};
static_assert(sizeof(GlobalSettingsBlock) == 96);
static_assert(offsetof(GlobalSettingsBlock, BuffName) == 16);
static_assert(offsetof(GlobalSettingsBlock, ShopKey) == 32);
static_assert(offsetof(GlobalSettingsBlock, Buttons) == 48);
static_assert(offsetof(GlobalSettingsBlock, BuffIcon) == 64);
static_assert(offsetof(GlobalSettingsBlock, ShopIcon) == 72);
static_assert(offsetof(GlobalSettingsBlock, PreventWhileRiding) == 80);
static_assert(offsetof(GlobalSettingsBlock, PreventWhileHandcuffed) == 81);
static_assert(offsetof(GlobalSettingsBlock, PreventWhileKnockedOut) == 82);
static_assert(offsetof(GlobalSettingsBlock, RewardIntervalMinutes) == 84);
static_assert(offsetof(GlobalSettingsBlock, ShowBuffIcon) == 88);
static_assert(offsetof(GlobalSettingsBlock, DisableTrade) == 89);
static_assert(offsetof(GlobalSettingsBlock, DisableSell) == 90);
static_assert(offsetof(GlobalSettingsBlock, DisableMultiuse) == 91);
static_assert(offsetof(GlobalSettingsBlock, Valid) == 92);

struct CategoryView {
  FString Name;
  UTexture2D* Icon = nullptr;
  int32_t Id = 0;
};
static_assert(sizeof(CategoryView) == 32);
static_assert(offsetof(CategoryView, Icon) == 16);
static_assert(offsetof(CategoryView, Id) == 24);

struct GachaResourceView {
  UClass* Item = nullptr;
  float Amount = 0.f;
};
static_assert(sizeof(GachaResourceView) == 16);
static_assert(offsetof(GachaResourceView, Amount) == 8);

struct GachaView {
  TArray<GachaResourceView> Resources;
  int32_t DinoVariantId = 0;
};
static_assert(sizeof(GachaView) == 24);
static_assert(offsetof(GachaView, DinoVariantId) == 16);

struct StryderView {
  UClass* HeadItem = nullptr;
  UClass* BodyItem = nullptr;
  int32_t DinoVariantId = 0;
};
static_assert(sizeof(StryderView) == 24);
static_assert(offsetof(StryderView, BodyItem) == 8);
static_assert(offsetof(StryderView, DinoVariantId) == 16);

struct OpenShopBlock {
  TArray<CooldownPair> PlayerCooldowns;
  TArray<CooldownPair> ServerCooldowns;
  int64_t Points = 0;
  TArray<CategoryView> Categories;
  TArray<GachaView> GachaSets;
  TArray<StryderView> StryderSets;
  int32_t PassivePoints = 0;
};
static_assert(sizeof(OpenShopBlock) == 96);
static_assert(offsetof(OpenShopBlock, ServerCooldowns) == 16);
static_assert(offsetof(OpenShopBlock, Points) == 32);
static_assert(offsetof(OpenShopBlock, Categories) == 40);
static_assert(offsetof(OpenShopBlock, GachaSets) == 56);
static_assert(offsetof(OpenShopBlock, StryderSets) == 72);
static_assert(offsetof(OpenShopBlock, PassivePoints) == 88);

struct ItemVariantView {
  FString Name;
  UClass* ItemClass = nullptr;
  double Quality = 0, FixedArmor = 0, FixedDamage = 0, FixedDura = 0, FixedHypo = 0, FixedHyper = 0;
  int32_t Id = 0, ItemId = 0, PriceIncrease = 0, Amount = 0, LimitBlueprintUse = 0;
  uint8_t ForceBlueprint = 0;
};
static_assert(sizeof(ItemVariantView) == 96);
static_assert(offsetof(ItemVariantView, ItemClass) == 16);
static_assert(offsetof(ItemVariantView, Quality) == 24);
static_assert(offsetof(ItemVariantView, FixedArmor) == 32);
static_assert(offsetof(ItemVariantView, FixedDamage) == 40);
static_assert(offsetof(ItemVariantView, FixedDura) == 48);
static_assert(offsetof(ItemVariantView, FixedHypo) == 56);
static_assert(offsetof(ItemVariantView, FixedHyper) == 64);
static_assert(offsetof(ItemVariantView, Id) == 72);
static_assert(offsetof(ItemVariantView, ItemId) == 76);
static_assert(offsetof(ItemVariantView, PriceIncrease) == 80);
static_assert(offsetof(ItemVariantView, Amount) == 84);
static_assert(offsetof(ItemVariantView, LimitBlueprintUse) == 88);
static_assert(offsetof(ItemVariantView, ForceBlueprint) == 92);

struct ItemView {
  TArray<ItemVariantView> Variants;
  int32_t Id = 0;
};
static_assert(sizeof(ItemView) == 24);
static_assert(offsetof(ItemView, Id) == 16);

struct DinoVariantView {
  FString Name;
  FString Saddle;
  FString DescriptiveName;
  TArray<FName> Tags;
  FName DinoNameTag;
  double ImprintQuality = 0, SaddleQuality = 0, FixedSaddleArmor = 0;
  int32_t Id = 0, DinoId = 0, PriceIncrease = 0, Level = 0, Gender = 0, RequiresDLC = 0;
  uint8_t Neutered = 0, HasTraits = 0, UsesGender = 1, HasExtraOptions = 0;
};
static_assert(sizeof(DinoVariantView) == 128);
static_assert(offsetof(DinoVariantView, Saddle) == 16);
static_assert(offsetof(DinoVariantView, DescriptiveName) == 32);
static_assert(offsetof(DinoVariantView, Tags) == 48);
static_assert(offsetof(DinoVariantView, DinoNameTag) == 64);
static_assert(offsetof(DinoVariantView, ImprintQuality) == 72);
static_assert(offsetof(DinoVariantView, SaddleQuality) == 80);
static_assert(offsetof(DinoVariantView, FixedSaddleArmor) == 88);
static_assert(offsetof(DinoVariantView, Id) == 96);
static_assert(offsetof(DinoVariantView, DinoId) == 100);
static_assert(offsetof(DinoVariantView, PriceIncrease) == 104);
static_assert(offsetof(DinoVariantView, Level) == 108);
static_assert(offsetof(DinoVariantView, Gender) == 112);
static_assert(offsetof(DinoVariantView, RequiresDLC) == 116);
static_assert(offsetof(DinoVariantView, Neutered) == 120);
static_assert(offsetof(DinoVariantView, HasTraits) == 121);
static_assert(offsetof(DinoVariantView, UsesGender) == 122);
static_assert(offsetof(DinoVariantView, HasExtraOptions) == 123);

struct DinoView {
  TArray<DinoVariantView> Variants;
  int32_t Id = 0;
};
static_assert(sizeof(DinoView) == 24);
static_assert(offsetof(DinoView, Id) == 16);

struct CommandVariantView {
  FString Name;
  FString Title;
  FString Description;
  UTexture2D* Icon = nullptr;
  int32_t Id = -1;
  int32_t CommandId = 0;
  int32_t PriceIncrease = 0;
};
static_assert(sizeof(CommandVariantView) == 72);
static_assert(offsetof(CommandVariantView, Title) == 16);
static_assert(offsetof(CommandVariantView, Description) == 32);
static_assert(offsetof(CommandVariantView, Icon) == 48);
static_assert(offsetof(CommandVariantView, Id) == 56);
static_assert(offsetof(CommandVariantView, CommandId) == 60);
static_assert(offsetof(CommandVariantView, PriceIncrease) == 64);

struct CommandView {
  TArray<CommandVariantView> Variants;
  int32_t Id = 0;
};
static_assert(sizeof(CommandView) == 24);
static_assert(offsetof(CommandView, Id) == 16);

struct PacketView {
  TArray<ItemView> Items;
  TArray<DinoView> Dinos;
  TArray<CommandView> Commands;
  FString PacketName;
  FString Description;
  UTexture2D* Icon = nullptr;
  double Discount = 0;
  double EarliestAvailableAtServerTime = 0;
  int32_t PlayerCooldown = 0, ServerCooldown = 0, Id = 0, CategoryId = 0, MaxPurchaseSameTime = 0, MinCharLevel = 0,
          MaxCharLevel = 0, Price = 0;
};
static_assert(sizeof(PacketView) == 136);
static_assert(offsetof(PacketView, Dinos) == 16);
static_assert(offsetof(PacketView, Commands) == 32);
static_assert(offsetof(PacketView, PacketName) == 48);
static_assert(offsetof(PacketView, Description) == 64);
static_assert(offsetof(PacketView, Icon) == 80);
static_assert(offsetof(PacketView, Discount) == 88);
static_assert(offsetof(PacketView, EarliestAvailableAtServerTime) == 96);
static_assert(offsetof(PacketView, PlayerCooldown) == 104);
static_assert(offsetof(PacketView, ServerCooldown) == 108);
static_assert(offsetof(PacketView, Id) == 112);
static_assert(offsetof(PacketView, CategoryId) == 116);
static_assert(offsetof(PacketView, MaxPurchaseSameTime) == 120);
static_assert(offsetof(PacketView, MinCharLevel) == 124);
static_assert(offsetof(PacketView, MaxCharLevel) == 128);
static_assert(offsetof(PacketView, Price) == 132);

struct RedeemView {
  PacketView Packet;
  int32_t Amount = 0;
  int32_t RewardId = -1;
  uint8_t AllVariants = 0;
};
static_assert(sizeof(RedeemView) == 152);
static_assert(offsetof(RedeemView, Amount) == 136);
static_assert(offsetof(RedeemView, RewardId) == 140);
static_assert(offsetof(RedeemView, AllVariants) == 144);

struct SellView {
  UTexture2D* Icon = nullptr;
  UClass* ItemClass = nullptr;
  FString Name;
  FString Description;
  int32_t Amount = 0, Price = 0, MaxSellAtOnce = 0;
};
static_assert(sizeof(SellView) == 64);
static_assert(offsetof(SellView, ItemClass) == 8);
static_assert(offsetof(SellView, Name) == 16);
static_assert(offsetof(SellView, Description) == 32);
static_assert(offsetof(SellView, Amount) == 48);
static_assert(offsetof(SellView, Price) == 52);
static_assert(offsetof(SellView, MaxSellAtOnce) == 56);

struct RedeemUpdateBlock {
  int32_t RedeemsLeft = 0;
  int32_t PacketId = 0;
  int32_t RewardId = -1;
};
static_assert(sizeof(RedeemUpdateBlock) == 12);
static_assert(offsetof(RedeemUpdateBlock, PacketId) == 4);
static_assert(offsetof(RedeemUpdateBlock, RewardId) == 8);

}  // namespace ModComm
