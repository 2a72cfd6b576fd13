// Packet strings: parsing by id and by name, amounts, rewards, the all-variants
// form, and the stored form built from a parse.
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "config/CatalogueReader.h"
#include "shop/PacketHelper.h"

using ::testing::ElementsAre;
using PacketHelper::ConstructedPacket;

namespace {

// Ids (file order): items 0 Pick, 1 Shirt; item variants 0 Stone Pick, 1 Metal Pick,
// 2 Cloth Shirt, 3 Hide Shirt; dino variant 0 Rex; commands 0 (visible: 0 Heal,
// 1 Feed), 1 (hidden: 2 Log, 3 Unused).
constexpr const char* Shop = R"({
  "ShopCategories": [{"Name": "C"}],
  "ShopPackets": [
    {"ShopCategory": "C", "PacketName": "Starter Kit", "Price": 100,
     "Items": [
       {"Variants": [{"Name": "Stone Pick", "Blueprint": "a", "PriceIncrease": 0, "Amount": 1},
                     {"Name": "Metal Pick", "Blueprint": "b", "PriceIncrease": 20, "Amount": 1}]},
       {"Variants": [{"Name": "Cloth Shirt", "Blueprint": "c", "PriceIncrease": 0, "Amount": 1},
                     {"Name": "Hide Shirt", "Blueprint": "d", "PriceIncrease": 5, "Amount": 1}]}],
     "Dinos": [{"Variants": [{"Name": "Rex", "Blueprint": "r", "PriceIncrease": 50, "Level": 10}]}],
     "Commands": [
       {"Variants": [{"Name": "Heal", "Command": "heal"}, {"Name": "Feed", "Command": "feed"}]},
       {"visibleInShop": false, "Variants": [{"Name": "Log", "Command": "log"}, {"Name": "Unused", "Command": "x"}]}]},
    {"ShopCategory": "C", "PacketName": "Other", "Price": 1}
  ],
  "RewardPackets": [{"Name": "Welcome Gift", "FromShopPacket": "starter kit"}]
})";

class PacketStringTest : public ::testing::Test {
 protected:
  void SetUp() override { ConfigHelper::ReadCatalogue(nlohmann::json::parse(Shop), catalogue); }

  ConstructedPacket Parse(const char* text, bool byId, int32_t rewardId = -1) const {
    return PacketHelper::ParsePacketString(FString(text), byId, rewardId, catalogue);
  }

  template <typename V>
  static std::vector<std::string> Names(const std::vector<const V*>& variants) {
    std::vector<std::string> names;
    for (const V* v : variants) names.push_back(v->Name.ToUtf8());
    return names;
  }

  // Every selected variant belongs to the entry it is paired with.
  static void ExpectPaired(const ConstructedPacket& cp) {
    ASSERT_EQ(cp.ItemGroups.size(), cp.ItemVariants.size());
    ASSERT_EQ(cp.DinoGroups.size(), cp.DinoVariants.size());
    ASSERT_EQ(cp.CommandGroups.size(), cp.CommandVariants.size());
    for (std::size_t k = 0; k < cp.ItemGroups.size(); ++k) EXPECT_EQ(cp.ItemVariants[k]->ItemId, cp.ItemGroups[k]->Id);
    for (std::size_t k = 0; k < cp.DinoGroups.size(); ++k) EXPECT_EQ(cp.DinoVariants[k]->DinoId, cp.DinoGroups[k]->Id);
    for (std::size_t k = 0; k < cp.CommandGroups.size(); ++k)
      EXPECT_EQ(cp.CommandVariants[k]->CommandId, cp.CommandGroups[k]->Id);
  }

  ConfigHelper::ConfigCatalogue catalogue;
};

}  // namespace

TEST_F(PacketStringTest, SelectsVariantsByIdAndAddsHiddenCommands) {
  const auto cp = Parse("starter kit,3;1,3;0;1", true);
  ASSERT_TRUE(cp.Parsed);
  EXPECT_EQ(cp.PacketName, FString("Starter Kit"));
  EXPECT_EQ(cp.Amount, 3);
  EXPECT_FALSE(cp.AllVariants);
  EXPECT_FALSE(cp.IsReward);
  EXPECT_EQ(cp.RewardId, -1);
  EXPECT_THAT(Names(cp.ItemVariants), ElementsAre("Metal Pick", "Hide Shirt"));
  EXPECT_THAT(Names(cp.DinoVariants), ElementsAre("Rex"));
  EXPECT_THAT(Names(cp.CommandVariants), ElementsAre("Feed", "Log"));
  ExpectPaired(cp);
}

TEST_F(PacketStringTest, ItemsNeedOneSelectionPerEntryWhileOtherSectionsStillCount) {
  const auto fewer = Parse("Starter Kit;0;0;;", true);
  EXPECT_TRUE(fewer.Parsed);
  EXPECT_TRUE(fewer.ItemVariants.empty());
  EXPECT_THAT(Names(fewer.DinoVariants), ElementsAre("Rex"));
  EXPECT_THAT(Names(fewer.CommandVariants), ElementsAre("Log"));  // hidden, section 4 empty

  // An entry that matches nothing leaves its item out; by id, names do not match.
  const auto partial = Parse("Starter Kit;Stone Pick,2;;0,0,99", true);
  EXPECT_THAT(Names(partial.ItemVariants), ElementsAre("Cloth Shirt"));
  EXPECT_EQ(partial.ItemGroups[0]->Id, 1);
  EXPECT_THAT(Names(partial.CommandVariants), ElementsAre("Heal", "Heal", "Log"));
  ExpectPaired(partial);

  // A selection of another entry's variant does not cross over.
  const auto crossed = Parse("Starter Kit;2,0;;", true);
  EXPECT_TRUE(crossed.ItemVariants.empty());
}

TEST_F(PacketStringTest, AmountForms) {
  EXPECT_EQ(Parse("Other", true).Amount, 1);
  EXPECT_EQ(Parse("Other,-2", true).Amount, -2);
  EXPECT_EQ(Parse("Other,abc", true).Amount, 1);
  EXPECT_EQ(Parse("Other,-", true).Amount, 1);
  EXPECT_EQ(Parse("Other,,,7,9", true).Amount, 7);
  EXPECT_EQ(Parse("Other,2147483647", true).Amount, 2147483647);
  // Beyond 32 bits the amount is refused rather than wrapped.
  EXPECT_LT(Parse("Other,2147483648", true).Amount, 1);
  EXPECT_LT(Parse("Other,99999999999999999999", true).Amount, 1);
  EXPECT_LT(Parse("Other,-99999999999", true).Amount, 1);
}

TEST_F(PacketStringTest, UnknownOrEmptyNamesMatchNothing) {
  for (const char* text : {"", ";;;", ",,3;;;", "Missing,1;;;", "Starter;;;"}) {
    const auto cp = Parse(text, true);
    EXPECT_EQ(cp.Packet, nullptr) << text;
    EXPECT_FALSE(cp.Parsed) << text;
    EXPECT_EQ(PacketHelper::BuildPacketString(cp), FString()) << text;
  }
}

TEST_F(PacketStringTest, AllVariantsFormPairsEveryVariantWithItsOwnEntry) {
  const auto cp = Parse("Starter Kit,1", false);
  ASSERT_TRUE(cp.Parsed);
  EXPECT_TRUE(cp.AllVariants);
  EXPECT_THAT(Names(cp.ItemVariants), ElementsAre("Stone Pick", "Metal Pick", "Cloth Shirt", "Hide Shirt"));
  EXPECT_THAT(Names(cp.DinoVariants), ElementsAre("Rex"));
  EXPECT_THAT(Names(cp.CommandVariants), ElementsAre("Heal", "Feed", "Log", "Unused"));
  ExpectPaired(cp);
  EXPECT_EQ(PacketHelper::BuildPacketString(cp), FString("Starter Kit,1"));
  EXPECT_TRUE(Parse("Starter Kit;a;b", false).AllVariants);
}

TEST_F(PacketStringTest, RewardsByNameOrIdStandForTheirPacket) {
  const auto byName = Parse("WELCOME gift,4", false);
  ASSERT_TRUE(byName.IsReward);
  EXPECT_EQ(byName.Packet, &catalogue.ShopPackets[1]);  // sorted: Other, Starter Kit
  EXPECT_EQ(byName.PacketName, FString("Starter Kit"));
  EXPECT_EQ(byName.RewardName, FString("Welcome Gift"));
  EXPECT_EQ(byName.RewardId, 0);
  EXPECT_EQ(byName.Amount, 4);
  EXPECT_TRUE(byName.AllVariants);
  EXPECT_EQ(PacketHelper::BuildPacketString(byName), FString("Welcome Gift,1"));

  // By id the name is not looked at; an unknown id falls back to the packets.
  EXPECT_TRUE(Parse("anything", false, 0).IsReward);
  const auto fallback = Parse("Other", false, 5);
  EXPECT_FALSE(fallback.IsReward);
  EXPECT_EQ(fallback.PacketName, FString("Other"));
}

TEST_F(PacketStringTest, BuiltStringsParseByNameToTheSameSelection) {
  for (const char* bought :
       {"Starter Kit,3;1,3;0;1,0", "Starter Kit,1;0,2;;", "Starter Kit;1;0;0", "Starter Kit;99,2;;0", "Starter Kit;0,x;;"}) {
    const auto original = Parse(bought, true);
    const FString stored = PacketHelper::BuildPacketString(original);
    const auto again = Parse(stored.ToUtf8().c_str(), false);
    EXPECT_EQ(again.Packet, original.Packet) << bought;
    EXPECT_EQ(again.Amount, 1) << bought;
    EXPECT_EQ(again.ItemVariants, original.ItemVariants) << bought;
    EXPECT_EQ(again.DinoVariants, original.DinoVariants) << bought;
    EXPECT_EQ(again.CommandVariants, original.CommandVariants) << bought;
    EXPECT_EQ(PacketHelper::BuildPacketString(again), stored) << bought;
  }
  // An item left out keeps its place, so the other selections stay with their items.
  EXPECT_EQ(PacketHelper::BuildPacketString(Parse("Starter Kit;99,2;;0", true)),
            FString("Starter Kit,1;-,Cloth Shirt;;Heal"));
  // The hidden command is left out of the text and comes back on parsing.
  EXPECT_EQ(PacketHelper::BuildPacketString(Parse("Starter Kit,3;1,3;0;1,0", true)),
            FString("Starter Kit,1;Metal Pick,Hide Shirt;Rex;Feed,Heal"));
}
