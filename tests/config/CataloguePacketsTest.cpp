// Shop categories and packets: validation, warnings, ids and order.
#include <gmock/gmock.h>

#include "CatalogueFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(CatalogueTest, PacketFindsAnyCategoryIgnoringCaseAndRejectsUnknownOnes) {
  const auto log = Read(R"({
    "ShopPackets": [
      {"ShopCategory": "weapons", "PacketName": "Sword", "Price": 5},
      {"ShopCategory": "Nope", "PacketName": "Lost", "Price": 5}
    ],
    "ShopCategories": [
      {"Name": "Tools", "Description": "t", "IncludeGroups": ["Vip"]},
      {"Name": "Armor"},
      {"Name": "Weapons", "IconOverride": "Texture2D'/Game/Icon.Icon'", "ExcludeGroups": ["Banned", "New"]}
    ]
  })");
  EXPECT_THAT(log, ElementsAre(Warn("Invalid category name in ShopPacket: Nope")));
  ASSERT_EQ(catalogue.ShopCategories.Num(), 3);
  EXPECT_EQ(catalogue.ShopCategories[2].Id, 2);
  EXPECT_EQ(catalogue.ShopCategories[2].ExcludeGroups.Num(), 2);
  EXPECT_EQ(catalogue.ShopCategories[2].IconOverride.Path, FString("Texture2D'/Game/Icon.Icon'"));
  ASSERT_EQ(catalogue.ShopPackets.Num(), 1);
  EXPECT_EQ(Packet("sword").CategoryId, 2);
  EXPECT_EQ(Packet("sword").ShopCategory, FString("weapons"));
}

TEST_F(CatalogueTest, RejectedPacketsWarnInCheckOrderAndTakeNoId) {
  const auto log = Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [
      {"PacketName": "NoCategory", "Price": 1},
      {"ShopCategory": "C", "Price": 1},
      {"ShopCategory": "C", "PacketName": "Comma,Name", "Price": 1},
      {"ShopCategory": "C", "PacketName": "Semi;Name"},
      {"ShopCategory": "C", "PacketName": "NoPrice"},
      {"ShopCategory": "C", "PacketName": "First", "Price": 10,
       "Items": [{"Variants": [{"Name": "A", "Blueprint": "bp", "PriceIncrease": 0, "Amount": 1}]}]},
      {"ShopCategory": "C", "PacketName": "Second", "Price": 20,
       "Items": [{"Variants": [{"Name": "B", "Blueprint": "bp", "PriceIncrease": 0, "Amount": 1}]}]}
    ]
  })");
  EXPECT_THAT(log, ElementsAre(Warn("Warning: ShopPacket has no ShopCategory."),
                               Warn("Warning: ShopPacket has no PacketName."),
                               Warn("ShopPacket PacketName Comma,Name contains illegal Symbol"),
                               Warn("ShopPacket PacketName Semi;Name contains illegal Symbol"),
                               Warn("Warning: ShopPacket has no Price.")));
  ASSERT_EQ(catalogue.ShopPackets.Num(), 2);
  EXPECT_EQ(Packet("First").Id, 0);
  EXPECT_EQ(Packet("Second").Id, 1);
  // Items and their variants are counted over the whole file.
  EXPECT_EQ(Packet("Second").Items[0].Id, 1);
  EXPECT_EQ(Packet("Second").Items[0].Variants[0].Id, 1);
  EXPECT_EQ(Packet("Second").Items[0].Variants[0].ItemId, 1);
}

TEST_F(CatalogueTest, PacketsAreSortedIgnoringCaseAndCaseTwinsAreBothKept) {
  Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [
      {"ShopCategory": "C", "PacketName": "beta", "Price": 1},
      {"ShopCategory": "C", "PacketName": "Kit", "Price": 1},
      {"ShopCategory": "C", "PacketName": "alpha", "Price": 1},
      {"ShopCategory": "C", "PacketName": "KIT", "Price": 2},
      {"ShopCategory": "C", "PacketName": "Zeta", "Price": 1}
    ]
  })");
  std::vector<std::string> names;
  std::vector<int> ids;
  for (const auto& packet : catalogue.ShopPackets) {
    names.push_back(packet.PacketName.ToUtf8());
    ids.push_back(packet.Id);
  }
  EXPECT_THAT(names, ElementsAre("alpha", "beta", "Kit", "KIT", "Zeta"));
  EXPECT_THAT(ids, ElementsAre(2, 0, 1, 3, 4));
  EXPECT_EQ(Packet("kit").Price, 1);  // the first of the twins in file order
}

TEST_F(CatalogueTest, PacketSettingsAndHourConversions) {
  const auto log = Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [
      {"ShopCategory": "C", "PacketName": "Full", "Price": 250, "HideFromBuy": true,
       "EarliestAvailableAtServerTimeHours": 1.5, "ExcludeFromDiscount": true, "Description": "Everything",
       "ServerCooldownHours": 0.5, "PlayerCooldownHours": 0.0001, "MinCharLevel": 10, "MaxCharLevel": 90,
       "MaxPurchaseSameTime": 3, "IconOverride": "Texture2D'/Game/I.I'",
       "OnlyOnTheseMaps": ["TheIsland_WP", "ScorchedEarth_WP"], "ExcludeGroups": ["A"], "IncludeGroups": ["B", "C"]},
      {"ShopCategory": "C", "PacketName": "Empty", "Price": 0}
    ]
  })");
  EXPECT_THAT(log, IsEmpty());
  const auto& full = Packet("Full");
  EXPECT_EQ(full.Price, 250);
  EXPECT_TRUE(full.HideFromBuy);
  EXPECT_TRUE(full.ExcludeFromDiscount);
  EXPECT_EQ(full.EarliestAvailableAtServerTime, 5400);
  EXPECT_EQ(full.ServerCooldown, 1800);
  EXPECT_EQ(full.PlayerCooldown, 0);
  EXPECT_EQ(full.MinCharLevel, 10);
  EXPECT_EQ(full.MaxCharLevel, 90);
  EXPECT_EQ(full.MaxPurchaseSameTime, 3);
  EXPECT_EQ(full.Description, FString("Everything"));
  EXPECT_EQ(full.OnlyOnTheseMaps.Num(), 2);
  EXPECT_EQ(full.IncludeGroups.Num(), 2);
  EXPECT_FALSE(full.HasExtraTimeSettings);
  const auto& empty = Packet("Empty");
  EXPECT_EQ(empty.Items.Num() + empty.Dinos.Num() + empty.Commands.Num(), 0);
  EXPECT_EQ(empty.ServerCooldown, 0);
}

TEST_F(CatalogueTest, IllegalOrIncompleteVariantsAreSkippedWhileTheirPacketStays) {
  const auto log = Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [{"ShopCategory": "C", "PacketName": "Kit", "Price": 1,
      "Items": [
        {"Variants": [
          {"Name": "Bad,Name", "Blueprint": "bp", "PriceIncrease": 0, "Amount": 1},
          {"Blueprint": "bp", "PriceIncrease": 0, "Amount": 1},
          {"Name": "NoBp", "PriceIncrease": 0, "Amount": 1},
          {"Name": "NoPrice", "Blueprint": "bp", "Amount": 1},
          {"Name": "NoAmount", "Blueprint": "bp", "PriceIncrease": 0},
          {"Name": "Good", "Blueprint": "bp", "PriceIncrease": 7, "Amount": 2, "Quality": 3.5,
           "ForceBlueprint": true, "LimitBlueprintUse": 4, "FixedArmor": 1, "FixedDamage": 2,
           "FixedDura": 3, "FixedHypo": 4, "FixedHyper": 5}
        ]},
        {"NoVariants": true},
        {"Variants": [{"Name": "Semi;", "Blueprint": "bp", "PriceIncrease": 0, "Amount": 1}]},
        {"Variants": [{"Name": "Later", "Blueprint": "bp", "PriceIncrease": 0, "Amount": 1}]}
      ]}]
  })");
  EXPECT_THAT(log, ElementsAre(Warn("ItemVariant Name Bad,Name contains illegal Symbol"),
                               Warn("Warning: ItemVariant has no Name."),
                               Warn("Warning: ItemVariant has no Blueprint."),
                               Warn("Warning: ItemVariant has no PriceIncrease."),
                               Warn("Warning: ItemVariant has no Amount."),
                               Warn("Warning: Item 1 has no Variant."),
                               Warn("ItemVariant Name Semi; contains illegal Symbol")));
  const auto& items = Packet("Kit").Items;
  ASSERT_EQ(items.Num(), 3);  // the entry without variants is dropped, the one with none accepted stays
  EXPECT_EQ(items[0].Variants.Num(), 1);
  const auto& good = items[0].Variants[0];
  EXPECT_EQ(good.Id, 0);
  EXPECT_EQ(good.PriceIncrease, 7);
  EXPECT_EQ(good.Amount, 2);
  EXPECT_FLOAT_EQ(good.Quality, 3.5f);
  EXPECT_TRUE(good.ForceBlueprint);
  EXPECT_EQ(good.LimitBlueprintUse, 4);
  EXPECT_FLOAT_EQ(good.FixedHyper, 5.f);
  EXPECT_EQ(items[1].Id, 1);
  EXPECT_EQ(items[1].Variants.Num(), 0);
  EXPECT_EQ(items[2].Id, 2);
  EXPECT_EQ(items[2].Variants[0].Id, 1);
  EXPECT_EQ(items[2].Variants[0].ItemId, 2);
}

TEST_F(CatalogueTest, DinoVariantsGenderGachaAndStryder) {
  const auto log = Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [{"ShopCategory": "C", "PacketName": "Dinos", "Price": 1, "Dinos": [
      {"Variants": [
        {"Name": "NoLevel", "Blueprint": "bp", "PriceIncrease": 0},
        {"Name": "M", "Blueprint": "bp", "PriceIncrease": 0, "Level": 150, "Gender": "male",
         "ImprintQuality": 1.0, "Neutered": true, "HasTraits": false, "Saddle": "saddle", "SaddleQuality": 40,
         "FixedSaddleArmor": 55.5},
        {"Name": "F", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1, "Gender": "female"},
        {"Name": "Cap", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1, "Gender": "Male"},
        {"Name": "Default", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1}
      ]},
      {"Variants": [
        {"Name": "Gacha", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1, "ExtraOptions": {"GachaResources": [
          {"Amount": 1, "Item": "i1"}, {"Amount": 2, "Item": "i2"}, {"Amount": 3, "Item": "i3"},
          {"Amount": 4, "Item": "i4"}, {"Amount": 5, "Item": "i5"}, {"Amount": 6.5, "Item": "i6"}]}},
        {"Name": "FiveGacha", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1, "ExtraOptions": {"GachaResources": [
          {"Amount": 1}, {"Amount": 2}, {"Amount": 3}, {"Amount": 4}, {"Amount": 5}]}},
        {"Name": "Stryder", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1,
         "ExtraOptions": {"Stryder": {"HeadItem": "head", "BodyItem": "body"}}}
      ]}
    ]}]
  })");
  EXPECT_THAT(log, ElementsAre(Warn("Warning: DinoVariant has no Level."),
                               Warn("Gacha Resouce count is 5 instead of 6. Setting is ignored.")));
  const auto& dinos = Packet("Dinos").Dinos;
  ASSERT_EQ(dinos.Num(), 2);
  const auto& first = dinos[0].Variants;
  ASSERT_EQ(first.Num(), 4);
  EXPECT_EQ(first[0].Gender, ConfigHelper::DinoGender::Male);
  EXPECT_TRUE(first[0].Neutered);
  EXPECT_FALSE(first[0].HasTraits);
  EXPECT_EQ(first[0].Level, 150);
  EXPECT_EQ(first[0].Saddle.Path, FString("saddle"));
  EXPECT_EQ(first[1].Gender, ConfigHelper::DinoGender::Female);
  EXPECT_EQ(first[2].Gender, ConfigHelper::DinoGender::Random);
  EXPECT_EQ(first[3].Gender, ConfigHelper::DinoGender::Random);
  EXPECT_TRUE(first[3].HasTraits);

  const auto& second = dinos[1].Variants;
  ASSERT_EQ(second.Num(), 3);
  EXPECT_EQ(second[0].Id, 4);
  EXPECT_EQ(second[0].DinoId, 1);
  EXPECT_TRUE(second[0].HasGachaResources);
  EXPECT_FALSE(second[1].HasGachaResources);
  EXPECT_TRUE(second[2].HasStryderItems);
  ASSERT_EQ(catalogue.GachaResources.Num(), 1);
  EXPECT_EQ(catalogue.GachaResources[0].DinoVariantId, 4);
  ASSERT_EQ(catalogue.GachaResources[0].Resources.Num(), 6);
  EXPECT_FLOAT_EQ(catalogue.GachaResources[0].Resources[5].Amount, 6.5f);
  EXPECT_EQ(catalogue.GachaResources[0].Resources[5].Item.Path, FString("i6"));
  ASSERT_EQ(catalogue.StryderItems.Num(), 1);
  EXPECT_EQ(catalogue.StryderItems[0].DinoVariantId, 6);
  EXPECT_EQ(catalogue.StryderItems[0].BodyItem.Path, FString("body"));
}

TEST_F(CatalogueTest, CommandsVisibilityAndVariantChecks) {
  const auto log = Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [{"ShopCategory": "C", "PacketName": "Cmds", "Price": 1, "Commands": [
      {"visibleInShop": false},
      {"visibleInShop": false, "Variants": [
        {"Command": "cheat x"},
        {"Name": "a;b", "Command": "cheat x"},
        {"Name": "NoCommand"},
        {"Name": "Heal", "Command": "cheat heal {eos_id}", "Title": "T", "Description": "D", "PriceIncrease": 15,
         "AsAdmin": true, "IconOverride": "icon"}
      ]},
      {"Variants": [{"Name": "Xp", "Command": "cheat xp"}]}
    ]}]
  })");
  EXPECT_THAT(log, ElementsAre(Warn("Warning: Command 0 has no Variant."), Warn("Warning: Command has no Name."),
                               Warn("Command Name a;b contains illegal Symbol"),
                               Warn("Warning: Command has no Command.")));
  const auto& commands = Packet("Cmds").Commands;
  ASSERT_EQ(commands.Num(), 2);
  EXPECT_EQ(commands[0].Id, 0);
  EXPECT_FALSE(commands[0].VisibleInShop);
  const auto& heal = commands[0].Variants[0];
  EXPECT_EQ(heal.Command, FString("cheat heal {eos_id}"));
  EXPECT_EQ(heal.PriceIncrease, 15);
  EXPECT_TRUE(heal.AsAdmin);
  EXPECT_EQ(heal.Id, 0);
  EXPECT_TRUE(commands[1].VisibleInShop);
  EXPECT_EQ(commands[1].Variants[0].Id, 1);
  EXPECT_EQ(commands[1].Variants[0].CommandId, 1);
  EXPECT_EQ(commands[1].Variants[0].PriceIncrease, 0);
}
