// Group privileges, items to sell and reward packets.
#include <gmock/gmock.h>

#include "CatalogueFixture.h"

using ::testing::ElementsAre;

TEST_F(CatalogueTest, GroupPrivilegesMakeOneRecordPerGroupWithTheDiscountAsFraction) {
  Read(R"({"GroupPrivileges": [
    {"ForGroups": ["Vip", "Admins", "Donor"], "PassivePointsAmount": 25, "ShopDiscount": 15},
    {"ForGroups": [], "PassivePointsAmount": 99, "ShopDiscount": 99},
    {"ForGroups": ["Default"]}
  ]})");
  ASSERT_EQ(catalogue.GroupPrivileges.Num(), 4);
  EXPECT_EQ(catalogue.GroupPrivileges[1].GroupName, FString("Admins"));
  EXPECT_FLOAT_EQ(catalogue.GroupPrivileges[1].ShopDiscount, 0.15f);
  EXPECT_EQ(catalogue.GroupPrivileges[2].PassivePointsAmount, 25);
  EXPECT_EQ(catalogue.GroupPrivileges[3].PassivePointsAmount, 0);
  EXPECT_FLOAT_EQ(catalogue.GroupPrivileges[3].ShopDiscount, 0.f);
}

TEST_F(CatalogueTest, ItemsToSellNeedEveryRequiredKeyAndCountAcceptedOnly) {
  const auto log = Read(R"({"ItemsToSell": [
    {"ItemToSell": "bp", "Amount": 1, "Price": 1},
    {"Name": "NoClass", "Amount": 1, "Price": 1},
    {"Name": "NoAmount", "ItemToSell": "bp", "Price": 1},
    {"Name": "NoPrice", "ItemToSell": "bp", "Amount": 100, "IconOverride": "i", "Description": "d", "MaxSellAtOnce": 5},
    {"Name": "Stone", "ItemToSell": "stone", "Amount": 100, "Price": 3},
    {"Name": "Metal", "ItemToSell": "metal", "Amount": 50, "Price": 10, "IconOverride": "icon",
     "Description": "Ingots", "MaxSellAtOnce": 20}
  ]})");
  EXPECT_THAT(log, ElementsAre(Warn("Warning: ItemToSell has no Name."), Warn("Warning: ItemToSell has no ItemToSell."),
                               Warn("Warning: ItemToSell has no Amount."), Warn("Warning: ItemToSell has no Price.")));
  ASSERT_EQ(catalogue.ItemsToSell.Num(), 2);
  EXPECT_EQ(catalogue.ItemsToSell[0].Id, 0);
  EXPECT_EQ(catalogue.ItemsToSell[0].MaxSellAtOnce, 0);
  const auto& metal = catalogue.ItemsToSell[1];
  EXPECT_EQ(metal.Id, 1);
  EXPECT_EQ(metal.ItemToSell.Path, FString("metal"));
  EXPECT_EQ(metal.Amount, 50);
  EXPECT_EQ(metal.Price, 10);
  EXPECT_EQ(metal.Description, FString("Ingots"));
  EXPECT_EQ(metal.MaxSellAtOnce, 20);
}

TEST_F(CatalogueTest, RewardPacketsNeedAnAcceptedPacketAndANameOfTheirOwn) {
  const auto log = Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [
      {"ShopCategory": "C", "PacketName": "Zed", "Price": 1},
      {"ShopCategory": "C", "PacketName": "Starter Kit", "Price": 1},
      {"ShopCategory": "C", "PacketName": "Bad;Kit", "Price": 1}
    ],
    "RewardPackets": [
      {"Name": "starter KIT", "FromShopPacket": "Zed"},
      {"Name": "Welcome", "FromShopPacket": "Bad;Kit"},
      {"Name": "Orphan"},
      {"Name": "Welcome", "FromShopPacket": "STARTER kit", "InitAmountIfInViableGroups": 2, "MaxItemAmount": 5},
      {"Name": "Daily", "FromShopPacket": "zed"}
    ]
  })");
  EXPECT_THAT(log, ElementsAre(Warn("ShopPacket PacketName Bad;Kit contains illegal Symbol"),
                               Warn("RewardPacket \"starter KIT\" has same name as a ShopPacket. Gets Ignored."),
                               Warn("ShopPacket \"Bad;Kit\" for RewardPacket \"Welcome\" not found."),
                               Warn("ShopPacket \"\" for RewardPacket \"Orphan\" not found.")));
  ASSERT_EQ(catalogue.RewardPackets.Num(), 2);
  const auto& welcome = catalogue.RewardPackets[0];
  EXPECT_EQ(welcome.Id, 0);
  EXPECT_EQ(welcome.ShopPacket, &Packet("Starter Kit"));
  EXPECT_EQ(welcome.InitAmountIfInViableGroups, 2);
  EXPECT_EQ(welcome.MaxItemAmount, 5);
  EXPECT_EQ(catalogue.RewardPackets[1].Id, 1);
  EXPECT_EQ(catalogue.RewardPackets[1].ShopPacket->PacketName, FString("Zed"));
}
