// Creature deliveries: gender, traits, imprint, gacha resources, and every way a
// delivery can fail without leaving a creature or charging.
#include "AsaApi/GameTables.h"
#include "CreatureFixture.h"
#include "sim/engine/Reflection.h"

namespace deliverytest {
namespace {

using nlohmann::json;

json Gacha(const std::string& lastItem) {
  json resources = json::array();
  for (int i = 0; i < 5; ++i) resources.push_back({{"Amount", 1.5 + i}, {"Item", ResourcePath}});
  resources.push_back({{"Amount", 9.0}, {"Item", lastItem}});
  return {{"ExtraOptions", {{"GachaResources", resources}}}};
}

TEST_F(CreatureDelivery, GendersFollowTheVariantAndRandomReadsTheFirstId) {
  sim::CreatureClassSpec seven = RexSpec("Blueprint'/Game/Dinos/Rex7.Rex7'");
  seven.DinoID1 = 17;
  seven.SpawnsFemale = true;
  sim::CreatureClasses::Add(seven);
  ReadDinos(json::array({DinoVariant({{"Gender", "male"}}), DinoVariant({{"Gender", "random"}}),
                         DinoVariant({{"Gender", "female"}}, seven.Path), DinoVariant({}, seven.Path),
                         DinoVariant({{"HasTraits", false}, {"ImprintQuality", 0.0}})}));
  int32_t price = 0;
  std::vector<bool> female;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(Deliver(price, i));
    female.push_back(LastCreature().Female());
    EXPECT_EQ(CryopodData(static_cast<std::size_t>(i)).Strings.at(4), female.back() ? "FEMALE" : "MALE");
  }
  EXPECT_EQ(female, (std::vector<bool>{false, true, true, false})) << "13 ends in 3: female; 17 ends in 7: male";

  ASSERT_TRUE(Deliver(price, 4));
  EXPECT_FALSE(LastCreature().WildTraitsAdded);
  EXPECT_EQ(LastCreature().RescaleCount, 0) << "no imprint, no rescale";
  EXPECT_EQ(LastCreature().ImprinterName, "");
  EXPECT_FALSE(LastCreature().Neutered());
  EXPECT_EQ(price, 300);
  ExpectWorldClean();
}

TEST_F(CreatureDelivery, GachaResourcesAreSetOnlyWhenAllSixAreItems) {
  sim::CreatureClassSpec gacha = RexSpec("Blueprint'/Game/Dinos/Gacha.Gacha'");
  gacha.HasResourceProduction = true;
  sim::CreatureClasses::Add(gacha);
  ReadDinos(json::array({DinoVariant(Gacha(WeaponPath), gacha.Path), DinoVariant(Gacha(RexPath), gacha.Path),
                         DinoVariant(Gacha(WeaponPath))}));
  int32_t price = 0;
  ASSERT_TRUE(Deliver(price, 0));
  const auto& produced = LastCreature().ResourceProduction;
  ASSERT_EQ(produced.size(), 6u);
  EXPECT_EQ(produced[0].ItemClass, reinterpret_cast<UClass*>(resource));
  EXPECT_FLOAT_EQ(produced[4].Amount, 5.5f);
  EXPECT_EQ(produced[5].ItemClass, reinterpret_cast<UClass*>(weapon));
  EXPECT_EQ(produced[5].Unused, 0u);

  ASSERT_TRUE(Deliver(price, 1)) << "a creature class is no gacha item; the creature still comes";
  EXPECT_EQ(LastCreature().ResourceProduction.size(), 2u) << "the class's own production stays";
  EXPECT_TRUE(LogHas("[warning] Gacha Resource not valid: " + RexPath));
  EXPECT_TRUE(LogHas("[warning] Valid Gacha Resouce count not valid 5 instead of 6."));

  ASSERT_TRUE(Deliver(price, 2)) << "a class without resource production is left alone";
  EXPECT_TRUE(LastCreature().ResourceProduction.empty());
  EXPECT_EQ(price, 180);
}

TEST_F(CreatureDelivery, APropertyThatIsNoArrayEndsTheDeliveryWithoutCryopodOrCreature) {
  sim::CreatureClassSpec broken = RexSpec("Blueprint'/Game/Dinos/Broken.Broken'");
  broken.HasResourceProduction = true;
  broken.ResourceProductionElementSize = 8;
  sim::CreatureClasses::Add(broken);
  ReadDinos(json::array({DinoVariant(Gacha(WeaponPath), broken.Path)}));
  Model().Data.GameState()->NumTamedDinos = 3;
  int32_t price = 9;
  EXPECT_FALSE(Deliver(price));
  EXPECT_EQ(price, 9);
  EXPECT_TRUE(LogHas("[error] Player bought dino. Delivery failed: ResourceProduction - Expected size does not "
                     "match property size."));
  EXPECT_TRUE(Cryopods().empty());
  EXPECT_EQ(Model().Creatures.Destroyed(), 1u);
  ExpectWorldClean(3);
}

TEST_F(CreatureDelivery, NothingIsSpawnedWithoutUsableClassesOrRecordSizes) {
  ReadDinos(json::array({DinoVariant({}, "Blueprint'/Game/Dinos/None.None'"), DinoVariant({}, WeaponPath),
                         DinoVariant()}),
            {{"CryoPodOverride", RexPath}});
  int32_t price = 0;
  EXPECT_FALSE(Deliver(price, 2));
  EXPECT_TRUE(LogHas("[error] Player bought dino. Cryopod item not found.")) << "a creature class is no cryopod";

  ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
  ReadDinos(json::array({DinoVariant({}, "Blueprint'/Game/Dinos/None.None'"), DinoVariant({}, WeaponPath),
                         DinoVariant()}));
  EXPECT_FALSE(Deliver(price, 0));
  EXPECT_TRUE(LogHas("[error] Player bought dino. Dinoclass Blueprint'/Game/Dinos/None.None' not found."));
  EXPECT_FALSE(Deliver(price, 1));
  EXPECT_TRUE(LogHas("[error] Player bought dino. Dinoclass " + WeaponPath + " not found."));

  sim::Reflection::SetReportedSize("FCustomItemData", 0x20);
  EXPECT_FALSE(Deliver(price, 2));
  sim::Reflection::SetReportedSize("FCustomItemData", 0x88);
  sim::Reflection::HideStruct("FARKDinoData");
  EXPECT_FALSE(Deliver(price, 2));
  EXPECT_EQ(Server().CountLog("record sizes not usable"), 2u);
  EXPECT_TRUE(Model().Creatures.Spawns().empty());
  EXPECT_EQ(price, 0);
}

TEST_F(CreatureDelivery, EveryFailureAfterTheSpawnTakesTheCreatureAway) {
  sim::CreatureClassSpec actor = RexSpec("Blueprint'/Game/Dinos/Statue.Statue'");
  actor.SpawnsNonCreature = true;
  sim::CreatureClasses::Add(actor);
  sim::CreatureClassSpec hollow = RexSpec("Blueprint'/Game/Dinos/Hollow.Hollow'");
  hollow.HasStatusComponent = false;
  sim::CreatureClasses::Add(hollow);
  ReadDinos(json::array({DinoVariant({}, actor.Path), DinoVariant({}, hollow.Path), DinoVariant()}));
  int32_t price = 0;
  EXPECT_FALSE(Deliver(price, 0)) << "an actor that is not a creature";
  EXPECT_FALSE(Deliver(price, 1)) << "a creature without status";
  SimInventory()->MaxSlots = 0;
  EXPECT_FALSE(Deliver(price, 2)) << "no room for the cryopod";
  SimInventory()->MaxSlots = 10;
  host::RegisterFunctionAddress("APrimalDinoCharacter.GetColorSetInidcesAsString()", nullptr);
  EXPECT_FALSE(Deliver(price, 2)) << "a game function that is not there";
  EXPECT_TRUE(LogHas("[error] Player bought dino. Delivery failed: game function not registered: "
                     "APrimalDinoCharacter.GetColorSetInidcesAsString()"));
  EXPECT_EQ(Model().Creatures.Destroyed(), 4u);
  EXPECT_TRUE(Cryopods().empty());
  EXPECT_EQ(price, 0);
  ExpectWorldClean();

  const auto& dino = Packet().Dinos[0];
  EXPECT_FALSE(DeliveryHelper::DeliverDinoVariant(nullptr, Inventory(), price, &dino, &dino.Variants[2]));
  EXPECT_FALSE(DeliveryHelper::DeliverDinoVariant(Controller(), nullptr, price, &dino, &dino.Variants[2]));
  EXPECT_FALSE(DeliveryHelper::DeliverDinoVariant(Controller(), Inventory(), price, nullptr, &dino.Variants[2]));
  EXPECT_EQ(Model().Creatures.Spawns().size(), 4u);
}

}  // namespace
}  // namespace deliverytest
