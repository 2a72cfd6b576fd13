// What the checker adds to the reader: unknown keys with the closest known name,
// and mistakes the reader accepts.
#include <string>

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "config/ConfigLint.h"
#include "config/ConfigSchema.h"

namespace {

using ConfigHelper::ProblemKind;
using nlohmann::json;
using ::testing::HasSubstr;

std::vector<std::string> Lines(const std::vector<ConfigHelper::ConfigProblem>& problems, ProblemKind kind) {
  std::vector<std::string> lines;
  for (const auto& p : problems)
    if (p.Kind == kind) lines.push_back(p.Entry + ": " + p.Text);
  return lines;
}

TEST(UnknownKeys, SuggestTheClosestKnownNameOnlyWhenItIsALikelyMisspelling) {
  const std::vector<std::string> sections = {"ShopPackets", "ShopCategories", "RewardPackets"};
  EXPECT_EQ(ConfigHelper::ClosestName("ShopPacketz", sections), "ShopPackets");
  EXPECT_EQ(ConfigHelper::ClosestName("shoppackets", sections), "ShopPackets");
  EXPECT_EQ(ConfigHelper::ClosestName("Comment", sections), "");
  EXPECT_EQ(ConfigHelper::ClosestName("X", {"Y"}), "");

  const json file = json::parse(R"({
    "General": {"ShopKey": "F2", "PreventOptions": {"PreventWhileRidding": true}},
    "ShopPacketz": [],
    "ShopPackets": [{"PacketName": "Kit", "Prise": 5,
                     "Dinos": [{"Variants": [{"Name": "Rex", "Levle": 3, "ExtraOptions": {"Stryder": {"HeadItme": ""}}}]}]}],
    "Mysql": {"server": "db", "Port": 3306}
  })");
  EXPECT_THAT(Lines(ConfigHelper::FindUnknownKeys(file), ProblemKind::Warning),
              ::testing::UnorderedElementsAre(
                  ": unknown key \"ShopPacketz\" is ignored (did you mean ShopPackets?)",
                  "Mysql: unknown key \"Port\" is ignored (did you mean port?)",
                  "General > PreventOptions: unknown key \"PreventWhileRidding\" is ignored (did you mean "
                  "PreventWhileRiding?)",
                  "ShopPackets[0] \"Kit\": unknown key \"Prise\" is ignored (did you mean Price?)",
                  "ShopPackets[0] \"Kit\" > Dinos[0] > Variants[0] \"Rex\": unknown key \"Levle\" is ignored (did you "
                  "mean Level?)",
                  "ShopPackets[0] \"Kit\" > Dinos[0] > Variants[0] \"Rex\" > ExtraOptions > Stryder: unknown key "
                  "\"HeadItme\" is ignored (did you mean HeadItem?)"));
}

TEST(Lint, FindsDuplicatesNonsenseNumbersAndRewardsWithoutACooldown) {
  const json file = json::parse(R"({
    "ShopCategories": [{"Name": "Kits"}, {"Name": "kits"}],
    "ShopPackets": [
      {"PacketName": "Kit", "Price": -5, "PlayerCooldownHours": 24,
       "Items": [{"Variants": [{"Name": "A", "Blueprint": "bp", "PriceIncrease": -1, "Amount": 0}]}]},
      {"PacketName": "KIT", "Price": 1, "MinCharLevel": 50, "MaxCharLevel": 10},
      {"PacketName": "Free", "Price": 0},
      {"PacketName": "Hidden", "Price": 0, "HideFromBuy": true},
      {"PacketName": "Monthly", "Price": 10, "PlayerCooldownHours": 0.0001}
    ],
    "ItemsToSell": [{"Name": "Stone", "Amount": 0, "Price": 0}],
    "RewardPackets": [{"Name": "Gift", "FromShopPacket": "kit"},
                      {"Name": "Month", "FromShopPacket": "Monthly"},
                      {"Name": "Secret", "FromShopPacket": "Hidden"}]
  })");
  const auto problems = ConfigHelper::LintConfiguration(file);
  const auto warnings = Lines(problems, ProblemKind::Warning);
  const auto has = [&](const std::string& text) {
    return std::count_if(warnings.begin(), warnings.end(),
                         [&](const std::string& w) { return w.find(text) != std::string::npos; });
  };
  EXPECT_EQ(has("ShopCategories[1] \"kits\": duplicate category name: ShopCategories[0] \"Kits\" has it already"), 1);
  EXPECT_EQ(has("ShopPackets[1] \"KIT\": duplicate packet name"), 1);
  EXPECT_EQ(has("ShopPackets[0] \"Kit\": \"Price\" is -5"), 1);
  EXPECT_EQ(has("Variants[0] \"A\": \"PriceIncrease\" is -1"), 1);
  EXPECT_EQ(has("Variants[0] \"A\": \"Amount\" is 0"), 1);
  EXPECT_EQ(has("\"MinCharLevel\" 50 is above \"MaxCharLevel\" 10"), 1);
  EXPECT_EQ(has("ShopPackets[2] \"Free\": \"Price\" is 0"), 1);
  EXPECT_EQ(has("ShopPackets[3] \"Hidden\""), 0) << "a hidden packet for rewards may be free";
  EXPECT_EQ(has("ItemsToSell[0] \"Stone\": \"Amount\" is 0"), 1);
  EXPECT_EQ(has("ItemsToSell[0] \"Stone\": \"Price\" is 0"), 1);
  EXPECT_EQ(has("granted again at every login once redeemed"), 2);
  EXPECT_EQ(has("RewardPackets[1] \"Month\": its shop packet \"Monthly\" has no PlayerCooldownHours"), 1)
      << "a cooldown under a second is none";
  EXPECT_EQ(has("RewardPackets[0]"), 0);

  EXPECT_THAT(Lines(problems, ProblemKind::Note),
              ::testing::ElementsAre("ShopPackets[0] \"Kit\": 1 class path is unverifiable here: the server resolves "
                                     "them when the shop opens"));
}

}  // namespace
