// Calendar filters and a packet's "ExtraTimeSettings".
#include <gmock/gmock.h>

#include "CatalogueFixture.h"
#include "config/CatalogueJson.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<int> List(const TArray<int32_t>& values) { return {values.begin(), values.end()}; }

}  // namespace

TEST(TimeFilter, ParsesPrefixesIgnoringCaseAndKeepsOnlyDigitPieces) {
  ConfigHelper::ConfigTimeFilter f;
  ASSERT_TRUE(ConfigHelper::ParseTimeFilter(FString("wday:6,7|month:12"), f));
  EXPECT_THAT(List(f.WeekDays), ElementsAre(6, 0));
  EXPECT_THAT(List(f.Months), ElementsAre(11));
  EXPECT_THAT(List(f.MonthDays), IsEmpty());

  ConfigHelper::ConfigTimeFilter g;
  ASSERT_TRUE(ConfigHelper::ParseTimeFilter(FString("WDay:mon,1,,-2,3x||MDAY:31|Month:0|year:2024"), g));
  EXPECT_THAT(List(g.WeekDays), ElementsAre(1));
  EXPECT_THAT(List(g.MonthDays), ElementsAre(31));
  EXPECT_THAT(List(g.Months), ElementsAre(-1));
}

TEST(TimeFilter, TextWithoutNumbersDoesNotParseAndHugeNumbersThrow) {
  ConfigHelper::ConfigTimeFilter f;
  EXPECT_FALSE(ConfigHelper::ParseTimeFilter(FString(""), f));
  EXPECT_FALSE(ConfigHelper::ParseTimeFilter(FString("wday:|mday:x|weekday:1|||"), f));
  EXPECT_NO_THROW(ConfigHelper::ParseTimeFilter(FString("mday:2147483647"), f));
  EXPECT_THROW(ConfigHelper::ParseTimeFilter(FString("mday:2147483648"), f), ConfigHelper::Json::ConfigValueError);
}

TEST_F(CatalogueTest, ExtraTimeSettingsAreKeptOnlyWhenAFilterParses) {
  const auto log = Read(R"({
    "ShopCategories": [{"Name": "C"}],
    "ShopPackets": [
      {"ShopCategory": "C", "PacketName": "A", "Price": 1, "ExtraTimeSettings": {"Include": "", "Exclude": ""}},
      {"ShopCategory": "C", "PacketName": "B", "Price": 1, "ExtraTimeSettings": {"Include": "sunday"}},
      {"ShopCategory": "C", "PacketName": "C", "Price": 1, "ExtraTimeSettings": {"Exclude": "month:12|mday:24,25"}},
      {"ShopCategory": "C", "PacketName": "D", "Price": 1,
       "ExtraTimeSettings": {"Include": "wday:6,7", "Exclude": "nonsense"}}
    ]
  })");
  EXPECT_THAT(log, IsEmpty());
  EXPECT_FALSE(Packet("A").HasExtraTimeSettings);
  EXPECT_FALSE(Packet("B").HasExtraTimeSettings);
  EXPECT_TRUE(Packet("C").HasExtraTimeSettings);
  EXPECT_TRUE(Packet("D").HasExtraTimeSettings);
  ASSERT_EQ(catalogue.ExtraTimeSettings.Num(), 2);
  const auto& c = catalogue.ExtraTimeSettings[0];
  EXPECT_EQ(c.PacketId, Packet("C").Id);
  EXPECT_FALSE(c.HasInclude);
  EXPECT_TRUE(c.HasExclude);
  EXPECT_THAT(List(c.Exclude.MonthDays), ElementsAre(24, 25));
  const auto& d = catalogue.ExtraTimeSettings[1];
  EXPECT_EQ(d.PacketId, 3);
  EXPECT_TRUE(d.HasInclude);
  EXPECT_FALSE(d.HasExclude);
}
