// One packet unit of two item variants, a creature and a command: its items fit
// together or nothing of the unit is delivered; when the game still comes up
// short, what the first variant brought is taken back as well.
#include "CreatureFixture.h"
#include "OverstatedSlots.h"
#include "shop/PacketDelivery.h"

namespace deliverytest {
namespace {

using nlohmann::json;

class UnitDelivery : public CreatureDelivery {
 protected:
  void SetUp() override {
    // A unit: 100 wood (one stack), one weapon, a Rex in a cryopod, a command; 98 points.
    ReadShop({{"Items",
               {{{"Variants", {{{"Name", "W"}, {"Blueprint", ResourcePath}, {"Amount", 100}, {"PriceIncrease", 1}}}}},
                {{"Variants", {{{"Name", "S"}, {"Blueprint", WeaponPath}, {"Amount", 1}, {"PriceIncrease", 2}}}}}}},
              {"Dinos", {{{"Variants", {DinoVariant()}}}}},
              {"Commands", {{{"Variants", {{{"Name", "C"}, {"Command", "Broadcast hi"}, {"PriceIncrease", 25}}}}}}}});
    const auto& packet = Packet();
    unit.Packet = &packet;
    for (const auto& item : packet.Items) {
      unit.ItemGroups.push_back(&item);
      unit.ItemVariants.push_back(&item.Variants[0]);
    }
    unit.DinoGroups.push_back(&packet.Dinos[0]);
    unit.DinoVariants.push_back(&packet.Dinos[0].Variants[0]);
    unit.CommandGroups.push_back(&packet.Commands[0]);
    unit.CommandVariants.push_back(&packet.Commands[0].Variants[0]);
  }

  TandorShop::PacketDelivery::Delivered Deliver(int32_t units) {
    return TandorShop::PacketDelivery::DeliverUnits(unit, Controller(), Inventory(), units);
  }
  void ExpectNothingOfTheUnit() {
    EXPECT_TRUE(Model().Items.ItemsOf(SimInventory()).empty());
    EXPECT_TRUE(Model().Console.Issued().empty());
    EXPECT_TRUE(Model().Creatures.DestroyedCreatures().empty()) << "no creature was spawned";
    ExpectWorldClean();
  }

  PacketHelper::ConstructedPacket unit;
};

TEST_F(UnitDelivery, WhenTheSecondVariantDoesNotFitNothingOfTheUnitIsDelivered) {
  SimInventory()->MaxSlots = 1;  // the wood fits, the weapon does not
  const auto delivered = Deliver(1);
  EXPECT_EQ(delivered.Units, 0);
  EXPECT_EQ(delivered.Charge, 0);
  EXPECT_TRUE(Model().Items.IncrementCalls.empty()) << "checked before anything went in";
  EXPECT_TRUE(Model().Items.AddNewItemCalls.empty());
  ExpectNothingOfTheUnit();
}

TEST_F(UnitDelivery, WhenTheGameTakesTheFirstVariantButNotTheSecondTheFirstIsTakenBack) {
  OverstatedSlots overstated(1);
  SimInventory()->MaxSlots = 1;
  const auto delivered = Deliver(1);
  EXPECT_EQ(delivered.Units, 0);
  EXPECT_EQ(delivered.Charge, 0);
  EXPECT_EQ(Model().Items.IncrementCalls.size(), 1u) << "the wood went in";
  EXPECT_EQ(Model().Items.AddNewItemCalls.size(), 1u) << "the weapon was refused";
  ExpectNothingOfTheUnit();
}

TEST_F(UnitDelivery, UnitsThatFitArriveWholeAndTheRestDoNot) {
  SimInventory()->MaxSlots = 7;  // a unit takes three slots: wood, weapon, cryopod
  const auto delivered = Deliver(3);
  EXPECT_EQ(delivered.Units, 2);
  EXPECT_EQ(delivered.Charge, 2 * 98);
  EXPECT_EQ(Model().Items.CountOf(SimInventory(), resource), 200);
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory(), weapon).size(), 2u);
  EXPECT_EQ(Cryopods().size(), 2u);
  EXPECT_EQ(Model().Console.Issued().size(), 2u);
  EXPECT_EQ(Model().Items.ItemsOf(SimInventory()).size(), 6u) << "the third unit left nothing behind";
}

}  // namespace
}  // namespace deliverytest
