// One complete read into fresh records: what a reload may apply, what it must
// refuse, and how the problems are named.
#include <string>

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include "LogCapture.h"
#include "config/ConfigRead.h"
#include "config/LoadSummary.h"

namespace {

using ConfigHelper::ProblemKind;
using nlohmann::json;

json Shop() {
  return json::parse(R"({
    "Mysql": {"server": "db", "port": 3307, "username": "u", "password": "secret", "database": "shop",
              "tablePrefix": "ts"},
    "General": {"ShopKey": "F3"},
    "ShopCategories": [{"Name": "Kits"}],
    "ShopPackets": [
      {"ShopCategory": "Kits", "PacketName": "Wood", "Price": 5,
       "Items": [{"Variants": [{"Name": "W", "Blueprint": "bp", "PriceIncrease": 0, "Amount": 1}]}]},
      {"ShopCategory": "Kits", "PacketName": "Stone", "Price": 5}
    ]
  })");
}

std::vector<std::string> Entries(const ConfigHelper::ReadReport& report, ProblemKind kind) {
  std::vector<std::string> entries;
  for (const auto& problem : report.Problems)
    if (problem.Kind == kind) entries.push_back(problem.Entry);
  return entries;
}

TEST(ConfigRead, EveryWrongValueIsAnErrorUnderItsEntryAndTheRestIsRead) {
  json file = Shop();
  file["ShopPackets"][0]["Price"] = "50";
  file["ShopPackets"][1]["HideFromBuy"] = "no";
  file["General"]["DisableSell"] = 1;
  file["General"]["ShopName"] = "Still read";
  LogCapture log;
  const auto read = ConfigHelper::ReadConfiguration(file);
  EXPECT_THAT(Entries(read.Report, ProblemKind::Error),
              ::testing::ElementsAre("General", "ShopPackets[0] \"Wood\"", "ShopPackets[1] \"Stone\""));
  EXPECT_FALSE(read.Usable());
  EXPECT_EQ(read.Shop->ShopName.ToUtf8(), "Still read");
  EXPECT_EQ(read.Shop->ShopPackets.Num(), 0);
}

TEST(ConfigRead, AMissingOrBrokenMysqlSectionMakesTheFileUnusable) {
  for (const json& mysql : {json(), json("db"), json{{"server", "db"}, {"port", "3306"}}}) {
    json file = Shop();
    if (mysql.is_null())
      file.erase("Mysql");
    else
      file["Mysql"] = mysql;
    LogCapture log;
    const auto read = ConfigHelper::ReadConfiguration(file);
    EXPECT_FALSE(read.Usable()) << mysql.dump();
    EXPECT_THAT(Entries(read.Report, ProblemKind::Error), ::testing::ElementsAre("Mysql")) << mysql.dump();
    EXPECT_EQ(read.Shop->ShopPackets.Num(), 2) << "the shop itself is fine";
  }
  json file = Shop();
  file["Mysql"]["port"] = "3306";
  LogCapture log;
  const auto read = ConfigHelper::ReadConfiguration(file);
  ASSERT_EQ(read.Report.Problems.size(), 1u);
  EXPECT_THAT(read.Report.Problems[0].Text, ::testing::HasSubstr("(key \"port\")"));
}

TEST(ConfigRead, SkippedEntriesAreWarningsThatLeaveTheFileUsable) {
  json file = Shop();
  file["ShopPackets"][1].erase("Price");
  file["General"]["ShopKey"] = "F99";
  LogCapture log;
  const auto read = ConfigHelper::ReadConfiguration(file);
  EXPECT_TRUE(read.Usable());
  EXPECT_EQ(read.Report.Warnings(), 2);
  EXPECT_THAT(Entries(read.Report, ProblemKind::Warning), ::testing::ElementsAre("", "ShopPackets[1] \"Stone\""));
}

// A packet that fails after its time filter and gacha resources were taken must
// not hand them to the next packet, which gets the same id.
TEST(ConfigRead, APacketLeftOutLeavesNothingBehindForTheNextOne) {
  json file = Shop();
  file["ShopPackets"][0]["PacketName"] = "Alpha";
  file["ShopPackets"][0]["ExtraTimeSettings"] = {{"Include", "wday:1"}};
  file["ShopPackets"][0]["Dinos"] = json::parse(R"([{"Variants": [
      {"Name": "Rex", "Blueprint": "bp", "PriceIncrease": 0, "Level": 1,
       "ExtraOptions": {"Stryder": {"HeadItem": "h"}}},
      {"Name": "Bad", "Blueprint": "bp", "PriceIncrease": 0, "Level": "high"}]}])");
  LogCapture log;
  const auto read = ConfigHelper::ReadConfiguration(file);
  ASSERT_EQ(read.Shop->ShopPackets.Num(), 1);
  EXPECT_EQ(read.Shop->ShopPackets[0].Id, 0);
  EXPECT_FALSE(read.Shop->ShopPackets[0].HasExtraTimeSettings);
  EXPECT_EQ(read.Shop->ExtraTimeSettings.Num(), 0);
  EXPECT_EQ(read.Shop->StryderItems.Num(), 0);
}

TEST(LoadSummary, CountsTheCatalogueAndNamesTheDatabaseWithoutThePassword) {
  LogCapture log;
  const auto read = ConfigHelper::ReadConfiguration(Shop());
  const std::string line = ConfigHelper::LoadSummaryLine("9.9.9", "reloaded", ConfigHelper::CountCatalogue(*read.Shop),
                                                         read.Mysql);
  EXPECT_EQ(line,
            "TandorShop 9.9.9 reloaded: 1 categories, 2 packets, 1 variants; database db:3307/shop, table prefix \"ts\"");
  EXPECT_THAT(line, ::testing::Not(::testing::HasSubstr("secret")));
}

}  // namespace
