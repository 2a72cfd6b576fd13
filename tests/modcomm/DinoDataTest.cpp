// What the game knows of a configured creature reaches the mod with its packet.
#include "ModShopFixture.h"
#include "sim/world/Creatures.h"
#include "sim/world/GameModel.h"

namespace {

const std::string kRexPath = "Blueprint'/Game/Dinos/Rex/Rex_Character_BP.Rex_Character_BP'";
const std::string kLostPath = "Blueprint'/Game/Dinos/Lost/Lost_Character_BP.Lost_Character_BP'";

TEST_F(ModShop, CreatureDataFromDefaultObjectsAndTheGameData) {
  config_["ShopPackets"].push_back(nlohmann::json::parse(R"({"ShopCategory": "Members", "PacketName": "Rex Box",
      "Price": 500, "Dinos": [{"Variants": [
        {"Name": "Rex", "Blueprint": ")" + kRexPath + R"(", "Level": 150, "PriceIncrease": 0, "Saddle": "Blueprint'/Game/S.S'"},
        {"Name": "Lost", "Blueprint": ")" + kLostPath + R"(", "Level": 1, "PriceIncrease": 0}]}]})"));
  sim::CreatureClassSpec rex;
  rex.Path = kRexPath;
  rex.DescriptiveName = "Rex";
  rex.Tags = {"Rex", "Carnivore"};
  rex.UsesGender = false;
  rex.RequiresDLC = 1;
  sim::SimClass* rexClass = sim::CreatureClasses::Add(rex);
  Server().Model().Data.AddDinoEntry(rexClass, "Rex_Entry");
  Start();
  EXPECT_TRUE(Server().LogContains("[info] ShopDinoVariants 2/1/1"));

  auto& alice = Join("AliceEos", 11, {"VIP"});
  Mod().Send(alice, TandorShopMod::MsgCategory, 1);
  ASSERT_TRUE(WaitForEvents("AliceEos", "a_cat", 1));
  ASSERT_FALSE(Mod().EventsOf("AliceEos", "a_cat").empty());
  const nlohmann::json batch = Mod().EventsOf("AliceEos", "a_cat")[0];
  const nlohmann::json* box = nullptr;
  for (const auto& view : batch)
    if (view["PacketName"] == "Rex Box") box = &view;
  ASSERT_NE(box, nullptr) << batch.dump();
  const nlohmann::json variants = (*box)["Dinos"][0]["Variants"];
  EXPECT_EQ(variants[0]["DescriptiveName"], "Rex");
  EXPECT_EQ(variants[0]["Tags"], nlohmann::json::parse(R"(["Rex", "Carnivore"])"));
  EXPECT_EQ(variants[0]["DinoNameTag"], "Rex_Entry");
  EXPECT_EQ(variants[0]["UsesGender"], 0);
  EXPECT_EQ(variants[0]["RequiresDLC"], 1);
  EXPECT_EQ(variants[0]["Level"], 150);
  EXPECT_EQ(variants[0]["Saddle"], "Blueprint'/Game/S.S'");
  EXPECT_EQ(variants[1]["DescriptiveName"], "");
  EXPECT_EQ(variants[1]["UsesGender"], 1) << "1 until read";
  EXPECT_TRUE(Mod().Errors().empty());
}

}  // namespace
