// Items into a simulated player's inventory: the stack and single paths, stats,
// blueprints, whole-or-nothing delivery into inventories short of room; the
// sellable count and the removal.
#include <climits>

#include "AsaApi/Game/UPrimalItem.h"
#include "DeliveryFixture.h"
#include "OverstatedSlots.h"
#include "delivery/DeliveryHelper.h"
#include "sim/engine/Reflection.h"

namespace deliverytest {
namespace {

using DeliveryHelper::DeliverItemVariant;
using nlohmann::json;

json Variant(const std::string& blueprint, int amount, json extra = json::object()) {
  json variant = {{"Name", "V"}, {"Blueprint", blueprint}, {"PriceIncrease", 40}, {"Amount", amount}};
  variant.update(extra);
  return variant;
}
json Items(const json& variant) { return {{"Items", {{{"Variants", {variant}}}}}}; }

class ItemDelivery : public DeliveryTest {
 protected:
  bool Deliver(int32_t& price) {
    const auto& item = Packet().Items[0];
    return DeliverItemVariant(Inventory(), price, &item, &item.Variants[0]);
  }
};

TEST_F(ItemDelivery, ResourcesGoInOneCallOfTheGameAsStacksAndAreChargedOnlyWhenAllArrived) {
  ReadShop(Items(Variant(ResourcePath, 500, {{"Quality", 5.0}, {"FixedArmor", 50.0}})));
  int32_t price = 7;
  EXPECT_TRUE(Deliver(price));
  EXPECT_EQ(price, 47);
  EXPECT_EQ(Model().Items.CountOf(SimInventory(), resource), 500);
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory(), resource).size(), 5u) << "stacks of 100";
  ASSERT_EQ(Model().Items.IncrementCalls.size(), 1u);
  const sim::IncrementCall& call = Model().Items.IncrementCalls[0];
  EXPECT_EQ(call.Amount, 500);
  EXPECT_FALSE(call.SpecificItemGiven);
  EXPECT_TRUE(call.SlotGiven);
  EXPECT_EQ(call.Flags, (std::vector<bool>{true, false, true, false, false, false, true, true, false, true, true}));
  EXPECT_TRUE(Model().Items.AddNewItemCalls.empty());
  for (sim::SimItem* stack : Model().Items.ItemsOf(SimInventory(), resource)) {
    EXPECT_EQ(stack->ItemStatValues[1], 0) << "no stats on stacks";
    EXPECT_EQ(stack->RatingOverrides, 0);
  }

  SimInventory()->MaxSlots = 6;  // room for one more stack of 100 only
  price = 0;
  EXPECT_FALSE(Deliver(price)) << "500 do not fit, so none go in";
  EXPECT_EQ(price, 0);
  EXPECT_EQ(Model().Items.CountOf(SimInventory(), resource), 500);
  EXPECT_EQ(Model().Items.IncrementCalls.size(), 1u) << "refused before the game is asked";
}

TEST_F(ItemDelivery, WeaponsAreMadeOneByOneWithQualityStatsAndRating) {
  ReadShop(Items(Variant(WeaponPath, 2, {{"Quality", 3.5}, {"FixedDamage", 150.0}, {"FixedDura", 500.0}})));
  int32_t price = 0;
  EXPECT_TRUE(Deliver(price));
  EXPECT_EQ(price, 40);
  const auto items = Model().Items.ItemsOf(SimInventory(), weapon);
  ASSERT_EQ(items.size(), 2u);
  for (sim::SimItem* item : items) {
    EXPECT_FLOAT_EQ(item->ItemQuality, 3.5f);
    EXPECT_EQ(item->ItemStatValues[3], 5) << "150 %: (1.5 - 1) / 0.1 + 0.5, truncated";
    EXPECT_EQ(item->ItemStatValues[2], 4000) << "(500 - 100) / 0.1";
    EXPECT_FLOAT_EQ(item->ItemDurability, 500.0f) << "a new item starts at its new maximum";
    EXPECT_FLOAT_EQ(item->ItemRating, 3.5f);
    EXPECT_EQ(item->UpdatedCalls, 1);
    EXPECT_FALSE(item->LastUpdatedArgs[0]);
    EXPECT_TRUE(item->LastUpdatedArgs[1]);
    EXPECT_EQ(item->ItemFlags & sim::ItemFlag::IsBlueprint, 0u);
  }
  const sim::AddNewItemCall& call = Model().Items.AddNewItemCalls[0];
  EXPECT_EQ(call.Quantity, 1);
  EXPECT_EQ(call.Flags, (std::vector<bool>{false, false, false, false, false, false, false, true, true, true}));
  EXPECT_EQ(call.SkinClass, nullptr);
}

TEST_F(ItemDelivery, DamageOf100SetsNoStatAndNoRatingAndHugeValuesStopAtTheCeiling) {
  ReadShop(Items(Variant(WeaponPath, 1, {{"Quality", 2.0}, {"FixedDamage", 100.0}})));
  int32_t price = 0;
  EXPECT_TRUE(Deliver(price));
  sim::SimItem* plain = Model().Items.ItemsOf(SimInventory(), weapon).at(0);
  EXPECT_EQ(plain->ItemStatValues[3], 0);
  EXPECT_EQ(plain->RatingOverrides, 0);
  EXPECT_FLOAT_EQ(plain->ItemQuality, 2.0f) << "quality still reaches the game as item quality";

  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ReadShop(Items(Variant(ArmorPath, 1, {{"FixedArmor", 1.0e9}, {"FixedHypo", 3.0}, {"FixedHyper", 25.0}})));
  EXPECT_TRUE(Deliver(price));
  sim::SimItem* item = Model().Items.ItemsOf(SimInventory(), armor).at(0);
  EXPECT_EQ(item->ItemStatValues[1], 65535);
  EXPECT_EQ(item->ItemStatValues[5], 0) << "3 is below the base of 5";
  EXPECT_EQ(item->ItemStatValues[7], 4000);
}

TEST_F(ItemDelivery, BlueprintsCarryTheirUsesAndForceTheSinglePath) {
  ReadShop(Items(Variant(ResourcePath, 3, {{"ForceBlueprint", true}, {"LimitBlueprintUse", 3}})));
  int32_t price = 0;
  EXPECT_TRUE(Deliver(price));
  const auto items = Model().Items.ItemsOf(SimInventory(), resource);
  ASSERT_EQ(items.size(), 3u);
  for (sim::SimItem* item : items) {
    EXPECT_NE(item->ItemFlags & sim::ItemFlag::IsBlueprint, 0u);
    EXPECT_EQ(item->CustomItemID, 2);
  }
  EXPECT_TRUE(Model().Items.IncrementCalls.empty());
}

TEST_F(ItemDelivery, ItemsArriveWholeOrNotAtAllWhenTheRoomIsShort) {
  ReadShop(Items(Variant(WeaponPath, 5)));
  SimInventory()->MaxSlots = 2;
  int32_t price = 3;
  EXPECT_FALSE(Deliver(price)) << "five weapons need five slots";
  EXPECT_EQ(price, 3);
  EXPECT_TRUE(Model().Items.ItemsOf(SimInventory(), weapon).empty());
  EXPECT_TRUE(Model().Items.AddNewItemCalls.empty());

  // A stack of 1 of 100 and no free slot: room for 99 stone, not for 100.
  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ReadShop(Items(Variant(ResourcePath, 100)));
  sim::SimItem* own = Model().Items.NewItem(resource, SimInventory(), 1);
  SimInventory()->MaxSlots = 1;
  EXPECT_FALSE(Deliver(price));
  EXPECT_EQ(own->ItemQuantity, 1);
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory()).size(), 1u);
  EXPECT_TRUE(Model().Items.IncrementCalls.empty());
  EXPECT_EQ(price, 3);

  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ReadShop(Items(Variant(ResourcePath, 99)));
  EXPECT_TRUE(Deliver(price)) << "99 fit on the stack";
  EXPECT_EQ(own->ItemQuantity, 100);
  EXPECT_EQ(price, 43);
}

// What the game took before it came up short goes back out: the stack to what it
// held, each item made for the delivery by its identity, never the player's own.
TEST_F(ItemDelivery, WhatAShortDeliveryBroughtIsTakenBack) {
  OverstatedSlots overstated(1);
  ReadShop(Items(Variant(ResourcePath, 100)));
  sim::SimItem* stones = Model().Items.NewItem(resource, SimInventory(), 1);
  SimInventory()->MaxSlots = 1;
  int32_t price = 0;
  EXPECT_FALSE(Deliver(price));
  ASSERT_EQ(Model().Items.IncrementCalls.size(), 1u) << "the game was asked and took 99";
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory()), std::vector<sim::SimItem*>{stones});
  EXPECT_EQ(stones->ItemQuantity, 1);
  EXPECT_EQ(price, 0);

  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ReadShop(Items(Variant(WeaponPath, 3, {{"Quality", 1.0}})));
  SimInventory()->MaxSlots = 4;  // with the player's own sword, two free, reported as three
  sim::SimItem* ownSword = Model().Items.NewItem(weapon, SimInventory(), 1);
  ASSERT_NE(ownSword, nullptr);
  ownSword->ItemQuality = 9.0f;
  EXPECT_FALSE(Deliver(price));
  EXPECT_EQ(Model().Items.AddNewItemCalls.size(), 3u) << "two made, the third refused";
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory()), (std::vector<sim::SimItem*>{stones, ownSword}));
  EXPECT_FLOAT_EQ(ownSword->ItemQuality, 9.0f);
  EXPECT_EQ(price, 0);

  // With room for all of them, they arrive.
  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ReadShop(Items(Variant(WeaponPath, 2)));
  EXPECT_TRUE(Deliver(price)) << "two fit now";
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory(), weapon).size(), 3u);
  EXPECT_EQ(price, 40);
}

TEST_F(ItemDelivery, NothingHappensWithoutAmountClassOrAnItemClass) {
  sim::CreatureClassSpec creature;
  creature.Path = RexPath;
  sim::CreatureClasses::Add(creature);
  ReadShop({{"Items",
             {{{"Variants",
                {Variant(WeaponPath, 0), Variant(WeaponPath, -3), Variant("Blueprint'/Game/None.None'", 1),
                 Variant(RexPath, 1)}}}}}});
  const auto& item = Packet().Items[0];
  int32_t price = 0;
  for (const auto& variant : item.Variants) EXPECT_FALSE(DeliverItemVariant(Inventory(), price, &item, &variant));
  EXPECT_FALSE(DeliverItemVariant(nullptr, price, &item, &item.Variants[0]));
  EXPECT_FALSE(DeliverItemVariant(Inventory(), price, nullptr, &item.Variants[0]));
  EXPECT_EQ(price, 0);
  EXPECT_EQ(Model().Items.ItemCount(), 0u);
  EXPECT_TRUE(Model().Items.AddNewItemCalls.empty());
}

TEST_F(ItemDelivery, AGameThatReportsNoStatInfoSizeLeavesStatsAlone) {
  sim::Reflection::SetReportedSize("FItemStatInfo", 4);
  ReadShop(Items(Variant(WeaponPath, 1, {{"FixedDamage", 150.0}})));
  int32_t price = 0;
  EXPECT_TRUE(Deliver(price));
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory(), weapon).at(0)->ItemStatValues[3], 0);
}

TEST_F(ItemDelivery, SellableUnitsAreExactlyThoseTheRemovalTakes) {
  sim::ItemClassSpec subSpec;
  subSpec.Path = "Blueprint'/Game/Items/Resources/Wood_Child.Wood_Child'";
  subSpec.Super = resource;
  sim::SimClass* subclass = sim::ItemClasses::Add(subSpec);
  sim::ItemWorld& items = Model().Items;
  for (int quantity : {5, 7, 2}) items.NewItem(resource, SimInventory(), quantity);
  items.NewItem(resource, SimInventory(), 11)->ItemFlags |= sim::ItemFlag::IsEngram;
  items.NewItem(resource, SimInventory(), 13)->ItemFlags |= sim::ItemFlag::IsSkin;
  items.NewItem(resource, SimInventory(), 17)->ItemFlags |= sim::ItemFlag::IsBlueprint;
  items.NewItem(resource, SimInventory(), 19)->ItemFlags &= ~sim::ItemFlag::AllowRemoval;
  items.NewItem(subclass, SimInventory(), 23);
  items.NewItem(weapon, SimInventory(), 1);
  auto* cls = reinterpret_cast<UClass*>(resource);

  EXPECT_EQ(DeliveryHelper::CountSellableItems(cls, Inventory()), 14);
  EXPECT_EQ(DeliveryHelper::CountSellableItems(nullptr, Inventory()), 0);
  EXPECT_EQ(DeliveryHelper::CountSellableItems(cls, nullptr), 0);

  DeliveryHelper::RemoveItemUnits(Inventory(), cls, 14);
  EXPECT_EQ(DeliveryHelper::CountSellableItems(cls, Inventory()), 0);
  EXPECT_EQ(items.CountOf(SimInventory(), resource), 11 + 13 + 17 + 19) << "the others stay";
  ASSERT_EQ(items.IncrementCalls.size(), 1u);
  EXPECT_EQ(items.IncrementCalls[0].Amount, -14);
  EXPECT_FALSE(items.IncrementCalls[0].SlotGiven);
  DeliveryHelper::RemoveItemUnits(Inventory(), cls, 0);
  EXPECT_EQ(items.IncrementCalls.size(), 1u);
}

}  // namespace
}  // namespace deliverytest
