// The cryopod's custom data, decoded by the simulator from the game's layout,
// against the variant and the creature it was made from.
#include "CreatureFixture.h"

namespace deliverytest {
namespace {

TEST_F(CreatureDelivery, TheCryopodHoldsTheCreatureAsTheGameStoresIt) {
  ReadDinos(nlohmann::json::array({DinoVariant({{"ImprintQuality", 0.5}, {"Neutered", true}, {"Gender", "female"},
                                                {"Saddle", SaddlePath}, {"SaddleQuality", 4.0},
                                                {"FixedSaddleArmor", 30.0}})}));
  Model().Data.GameState()->NumTamedDinos = 8;
  int32_t price = 5;
  ASSERT_TRUE(Deliver(price));
  EXPECT_EQ(price, 65);
  ExpectWorldClean(8);
  ASSERT_EQ(Cryopods().size(), 1u);
  sim::SimItem* pod = Cryopods()[0];
  EXPECT_EQ(pod->UpdatedCalls, 1);
  EXPECT_TRUE(pod->LastUpdatedArgs[0]);
  EXPECT_FALSE(pod->LastUpdatedArgs[1]);

  const sim::SpawnRequest& spawn = Model().Creatures.Spawns().at(0);
  EXPECT_EQ(spawn.Path, RexPath);
  EXPECT_EQ(spawn.ZOffset, 900.0f);
  EXPECT_TRUE(spawn.DoDeferBeginPlay);

  const sim::CreatureSnapshot& creature = LastCreature();
  EXPECT_EQ(creature.TamerString, "Bob");
  EXPECT_EQ(creature.TamingTeamID, 1234567);
  EXPECT_EQ(creature.TargetingTeam, 1234567);
  EXPECT_EQ(creature.AbsoluteBaseLevel, 100) << "150 / 1.5 + 0.99, truncated";
  EXPECT_EQ(creature.ImprinterName, "Bob");
  EXPECT_EQ(creature.ImprinterPlayerUniqueNetId, "EOS-Player-1");
  EXPECT_EQ(creature.RescaleCount, 1);
  EXPECT_FLOAT_EQ(creature.Current[0], creature.Max[0]);
  EXPECT_FLOAT_EQ(creature.Current[4], creature.Max[4]);
  EXPECT_FLOAT_EQ(creature.Max[0], 1100.0f);
  EXPECT_TRUE(creature.BegunPlay);
  EXPECT_TRUE(creature.WildTraitsAdded);
  EXPECT_EQ(creature.WildTraitsArgument, 0);

  const sim::DecodedCustomData data = CryopodData();
  EXPECT_EQ(data.Name, "Dino");
  ASSERT_EQ(data.Classes.size(), 1u);
  EXPECT_EQ(data.Classes[0], reinterpret_cast<UClass*>(rex));
  EXPECT_EQ(data.Names, (std::vector<std::string>{"Color_1", "Color_2", "Color_3", "Color_4", "Color_5", "Color_6"}));
  EXPECT_EQ(data.Strings, (std::vector<std::string>{"Rex - Lvl 100", "Rex", "1,2,3,4,5,6", "NEUTERED", "FEMALE", "",
                                                    "0", "", "", "Rex", ""}));

  ASSERT_EQ(data.Floats.size(), 57u);
  for (int i = 0; i < 11; ++i) {
    EXPECT_FLOAT_EQ(data.Floats[i], creature.Current[i]) << i;
    EXPECT_FLOAT_EQ(data.Floats[11 + i], creature.Max[i]) << i;
  }
  const sim::CreatureClassSpec spec = RexSpec();
  for (int i = 0; i < 11; ++i) EXPECT_FLOAT_EQ(data.Floats[22 + i], spec.RecoveryRates[i]) << i;
  EXPECT_FLOAT_EQ(data.Floats[33], 1.0f);
  EXPECT_FLOAT_EQ(data.Floats[34], 300.0f) << "200 + 100 counted as integers, not bytes";
  EXPECT_FLOAT_EQ(data.Floats[34 + 8], 4.0f);
  EXPECT_FLOAT_EQ(data.Floats[45 + 1], 7.0f);
  EXPECT_FLOAT_EQ(data.Floats[56], 34.0f);

  ASSERT_EQ(data.Doubles.size(), 7u);
  EXPECT_DOUBLE_EQ(data.Doubles[0], 1000.0);
  EXPECT_DOUBLE_EQ(data.Doubles[1], 60.0);
  EXPECT_DOUBLE_EQ(data.Doubles[2], 555.0);
  EXPECT_DOUBLE_EQ(data.Doubles[3], 3.0);
  EXPECT_DOUBLE_EQ(data.Doubles[4], 4.0);
  EXPECT_DOUBLE_EQ(data.Doubles[5], 0.5);
  EXPECT_NEAR(data.Doubles[6], static_cast<double>(std::time(nullptr)), 5.0);

  ASSERT_EQ(data.ByteArrays.size(), 2u);
  EXPECT_EQ(data.ByteArrays[0], Model().Creatures.LastDinoData);
  const sim::DecodedItemBytes saddleBytes = sim::DecodeItemBytes(data.ByteArrays[1]);
  ASSERT_TRUE(saddleBytes.Valid);
  EXPECT_EQ(saddleBytes.ClassIndex, saddle->Header.InternalIndex);
  EXPECT_FLOAT_EQ(saddleBytes.Rating, 4.0f);
  EXPECT_EQ(saddleBytes.StatValues[1], 2000) << "armor 30 over base 10 in steps of 0.01";
  EXPECT_EQ(data.ObjectCount, 0u);
}

TEST_F(CreatureDelivery, WithoutGenderUseOrGameDataTheStringsStayEmpty) {
  sim::CreatureClassSpec spec = RexSpec("Blueprint'/Game/Dinos/Trike.Trike'");
  spec.UsesGender = false;
  spec.SpawnsFemale = true;
  spec.HasSparseData = false;
  sim::CreatureClasses::Add(spec);
  ReadDinos(nlohmann::json::array({DinoVariant({{"Gender", "male"}, {"Saddle", RexPath}},
                                               "Blueprint'/Game/Dinos/Trike.Trike'")}));
  Model().Data.SetEngineMissing(true);
  Server().World()->GameState = nullptr;
  int32_t price = 0;
  ASSERT_TRUE(Deliver(price));
  EXPECT_TRUE(LastCreature().Female()) << "a creature without gender use is left alone";
  EXPECT_EQ(LastCreature().AbsoluteBaseLevel, 150) << "no class data, no multiplier";
  const sim::DecodedCustomData data = CryopodData();
  ASSERT_EQ(data.Strings.size(), 11u);
  EXPECT_EQ(data.Strings[3], "");
  EXPECT_EQ(data.Strings[4], "");
  EXPECT_EQ(data.Strings[9], "") << "no engine, no name tag";
  EXPECT_FLOAT_EQ(data.Floats.at(33), 1.0f);
  EXPECT_EQ(data.ByteArrays.size(), 1u) << "a saddle class that is no item makes no saddle";
  EXPECT_EQ(Model().Creatures.ActorCount(), 0u);
}

TEST_F(CreatureDelivery, AThousandCreaturesLeaveNothingBehind) {
  // LeakSanitizer checks what this leaves when the process ends.
  sim::CreatureClassSpec gacha = RexSpec("Blueprint'/Game/Dinos/Gacha.Gacha'");
  gacha.HasResourceProduction = true;
  sim::CreatureClasses::Add(gacha);
  nlohmann::json variant = DinoVariant({{"ImprintQuality", 1.0}, {"Saddle", SaddlePath}, {"FixedSaddleArmor", 30.0}},
                                       gacha.Path);
  nlohmann::json resources = nlohmann::json::array();
  for (int i = 0; i < 6; ++i) resources.push_back({{"Amount", 2.0}, {"Item", ResourcePath}});
  variant["ExtraOptions"] = {{"GachaResources", resources}};
  SimInventory()->MaxSlots = 5000;
  ReadDinos(nlohmann::json::array({variant}));
  int32_t price = 0;
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(Deliver(price));
  EXPECT_EQ(price, 60000);
  EXPECT_EQ(Cryopods().size(), 1000u);
  ExpectWorldClean();
  EXPECT_EQ(CryopodData(999).ByteArrays.size(), 2u);
  EXPECT_EQ(LastCreature().ResourceProduction.size(), 6u) << "the class's own production replaced";
}

}  // namespace
}  // namespace deliverytest
