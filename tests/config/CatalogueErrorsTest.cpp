// A value of the wrong JSON type (or a number that does not fit) leaves out the
// entry that holds it, logged once under that entry's name; every other entry
// is still read.
#include <cctype>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "LogCapture.h"
#include "config/ShopConfigReader.h"

namespace {

using nlohmann::json;

const json Base = json::parse(R"({
  "General": {"ShopKey": "F3"},
  "GroupPrivileges": [{"ForGroups": ["Vip"], "ShopDiscount": 10}],
  "ShopCategories": [{"Name": "C"}],
  "ItemsToSell": [{"Name": "Stone", "ItemToSell": "bp", "Amount": 1, "Price": 1}],
  "ShopPackets": [
    {"ShopCategory": "C", "PacketName": "Zed", "Price": 1},
    {"ShopCategory": "C", "PacketName": "Alpha", "Price": 1,
     "Dinos": [{"Variants": [{"Name": "Rex", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1, "Gender": "male"}]}]}
  ],
  "RewardPackets": [{"Name": "Gift", "FromShopPacket": "Alpha", "MaxItemAmount": 1}]
})");

struct Counts {
  int Privileges, Categories, ItemsToSell, Packets, Rewards;
  bool operator==(const Counts&) const = default;
};

void PrintTo(const Counts& c, std::ostream* os) {
  *os << "{" << c.Privileges << "," << c.Categories << "," << c.ItemsToSell << "," << c.Packets << "," << c.Rewards
      << "}";
}

struct BrokenValue {
  const char* Pointer;
  json Value;
  Counts Expected;
  const char* Entry;  // how the error line names the entry at fault
};

void PrintTo(const BrokenValue& broken, std::ostream* os) { *os << broken.Pointer << " = " << broken.Value.dump(); }

class WrongValue : public ::testing::TestWithParam<BrokenValue> {};

}  // namespace

TEST(CatalogueErrors, TheValidBaseReadsCompletely) {
  LogCapture log;
  ConfigHelper::ShopConfigData config;
  ConfigHelper::ReadShopConfig(Base, config);
  EXPECT_THAT(log.Lines(), ::testing::IsEmpty());
  EXPECT_EQ(config.ShopPackets.Num(), 2);
  EXPECT_EQ(config.ShopPackets[0].PacketName, FString("Alpha"));
  EXPECT_EQ(config.RewardPackets.Num(), 1);
}

TEST_P(WrongValue, LeavesOutItsEntryAndReadsTheRest) {
  json broken = Base;
  broken[json::json_pointer(GetParam().Pointer)] = GetParam().Value;
  LogCapture log;
  ConfigHelper::ShopConfigData config;
  ConfigHelper::ReadShopConfig(broken, config);

  std::vector<std::string> errors;
  for (const auto& line : log.Lines())
    if (line.rfind("[warning] Error in ShopConfig ", 0) == 0) errors.push_back(line);
  ASSERT_EQ(errors.size(), 1u) << ::testing::PrintToString(log.Lines());
  EXPECT_THAT(errors[0], ::testing::StartsWith(std::string("[warning] Error in ShopConfig ") + GetParam().Entry));
  const Counts counts{config.GroupPrivileges.Num(), config.ShopCategories.Num(), config.ItemsToSell.Num(),
                      config.ShopPackets.Num(), config.RewardPackets.Num()};
  EXPECT_EQ(counts, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, WrongValue,
    ::testing::Values(
        BrokenValue{"/GroupPrivileges/0/ForGroups/0", 5, {0, 1, 1, 2, 1}, "GroupPrivileges[0]: "},
        BrokenValue{"/GroupPrivileges/0/ShopDiscount", "10", {0, 1, 1, 2, 1}, "GroupPrivileges[0]: "},
        // Without their category the packets are skipped, and the reward with them.
        BrokenValue{"/ShopCategories", json::object(), {1, 0, 1, 0, 0}, "ShopCategories: "},
        BrokenValue{"/ShopCategories/0/IncludeGroups", "Vip", {1, 0, 1, 0, 0}, "ShopCategories[0] \"C\": "},
        BrokenValue{"/ItemsToSell/0/Price", "1", {1, 1, 0, 2, 1}, "ItemsToSell[0] \"Stone\": "},
        BrokenValue{"/ItemsToSell/0/Amount", 1e12, {1, 1, 0, 2, 1}, "ItemsToSell[0] \"Stone\": "},
        BrokenValue{"/ShopPackets/1", 42, {1, 1, 1, 1, 0}, "ShopPackets[1]: "},
        BrokenValue{"/ShopPackets/1/Price", "ten", {1, 1, 1, 1, 0}, "ShopPackets[1] \"Alpha\": "},
        BrokenValue{"/ShopPackets/1/Price", 3000000000u, {1, 1, 1, 1, 0}, "ShopPackets[1] \"Alpha\": "},
        BrokenValue{"/ShopPackets/1/ServerCooldownHours", 1e30, {1, 1, 1, 1, 0}, "ShopPackets[1] \"Alpha\": "},
        BrokenValue{"/ShopPackets/1/HideFromBuy", 1, {1, 1, 1, 1, 0}, "ShopPackets[1] \"Alpha\": "},
        BrokenValue{"/ShopPackets/1/OnlyOnTheseMaps", "TheIsland_WP", {1, 1, 1, 1, 0}, "ShopPackets[1] \"Alpha\": "},
        BrokenValue{"/ShopPackets/1/ExtraTimeSettings", json{{"Include", "mday:99999999999"}}, {1, 1, 1, 1, 0},
                    "ShopPackets[1] \"Alpha\": "},
        BrokenValue{"/ShopPackets/1/Dinos", "Rex", {1, 1, 1, 1, 0}, "ShopPackets[1] \"Alpha\": "},
        BrokenValue{"/ShopPackets/1/Dinos/0/Variants/0/Gender", 1, {1, 1, 1, 1, 0},
                    "ShopPackets[1] \"Alpha\" > Dinos[0] > Variants[0] \"Rex\": "},
        BrokenValue{"/ShopPackets/1/Dinos/0/Variants/0/ExtraOptions", json::array(), {1, 1, 1, 1, 0},
                    "ShopPackets[1] \"Alpha\" > Dinos[0] > Variants[0] \"Rex\": "},
        BrokenValue{"/RewardPackets/0/MaxItemAmount", json::array({1}), {1, 1, 1, 2, 0}, "RewardPackets[0] \"Gift\": "}),
    [](const ::testing::TestParamInfo<BrokenValue>& info) {
      std::string name = std::to_string(info.index);
      for (const char* c = info.param.Pointer; *c != 0; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });
