#pragma once
// Creature deliveries: a Rex class with a game data entry, a catalogue of dino
// variants, and the cryopod's data decoded by the simulator.
#include "DeliveryFixture.h"
#include "delivery/DeliveryHelper.h"

namespace deliverytest {

inline sim::CreatureClassSpec RexSpec(const std::string& path = RexPath) {
  sim::CreatureClassSpec spec;
  spec.Path = path;
  spec.DescriptiveName = "Rex";
  spec.FinalNPCLevelMultiplier = 1.5f;
  spec.DinoID1 = 13;
  spec.LevelUpPointsApplied[0] = 200;
  spec.MutationsAppliedTamed[0] = 100;
  spec.LevelUpPointsApplied[8] = 4;
  spec.LevelUpPointsAppliedTamed[1] = 7;
  spec.RandomMutationsMale = 3;
  spec.RandomMutationsFemale = 4;
  spec.NextAllowedMatingTime = 555.0;
  spec.BabyNextCuddleTimeFromNow = 60.0;
  return spec;
}

inline nlohmann::json DinoVariant(nlohmann::json extra = nlohmann::json::object(),
                                  const std::string& blueprint = RexPath) {
  nlohmann::json variant = {{"Name", "D"}, {"Blueprint", blueprint}, {"PriceIncrease", 60}, {"Level", 150}};
  if (extra.is_object()) variant.update(extra);
  return variant;
}

class CreatureDelivery : public DeliveryTest {
 protected:
  CreatureDelivery() {
    rex = sim::CreatureClasses::Add(RexSpec());
    Model().Data.AddDinoEntry(rex, "Rex");
    Server().World()->TimeSeconds = 1000.0;
  }

  void ReadDinos(const nlohmann::json& variants, const nlohmann::json& general = nlohmann::json::object()) {
    ReadShop({{"Dinos", {{{"Variants", variants}}}}}, general);
  }
  bool Deliver(int32_t& price, int index = 0) {
    const auto& dino = Packet().Dinos[0];
    return DeliveryHelper::DeliverDinoVariant(Controller(), Inventory(), price, &dino, &dino.Variants[index]);
  }
  std::vector<sim::SimItem*> Cryopods() { return Model().Items.ItemsOf(SimInventory(), cryopod); }
  sim::DecodedCustomData CryopodData(std::size_t index = 0) {
    const auto pods = Cryopods();
    if (index >= pods.size() || pods[index]->CustomItemDatas.Num() != 1) return {};
    return sim::Decode(pods[index]->CustomItemDatas[0]);
  }
  const sim::CreatureSnapshot& LastCreature() { return Model().Creatures.DestroyedCreatures().back(); }
  // No creature stays in the world and the tamed count is where it was.
  void ExpectWorldClean(int32_t tamedBefore = 0) {
    EXPECT_EQ(Model().Creatures.ActorCount(), 0u);
    EXPECT_EQ(Model().Data.NumTamedDinos(), tamedBefore);
  }

  sim::SimClass* rex = nullptr;
};

}  // namespace deliverytest
