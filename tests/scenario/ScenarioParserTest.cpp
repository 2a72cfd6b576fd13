// The scenario language's parser: what a valid line means, and that a file
// with bad lines is refused line by line before anything runs.
#include <gtest/gtest.h>

#include "sim/scenario/ScenarioExpectations.h"
#include "sim/scenario/ScenarioParser.h"

namespace {

using namespace sim::scenario;
using nlohmann::json;

template <typename T>
const T& Only(const ParsedScenario& parsed, std::size_t index) {
  EXPECT_TRUE(parsed.Valid()) << (parsed.Errors.empty() ? "" : parsed.Errors[0].Reason);
  return std::get<T>(parsed.Steps.at(index).What);
}

TEST(ScenarioParser, ReadsQuotedWordsNumbersAndJsonAsTheyAreMeant) {
  const ParsedScenario parsed = ParseScenario(
      "# the morning\n"
      "\n"
      "join ann \"Ann Lee\" tribe=\"Red Raiders\" level=20 admin\n"
      "mod ann TSMod_Redeem -1 1 \"Kit,1;Stone \\\"Pick\\\";;\"\n"
      "mod ann TSMod_Sell 5 Stone\n"
      "mod ann TSMod_Trade 50 \"bo Bo\"\n"
      "expect event ann a_cat [{\"PacketName\": \"Kit\"}]\n"
      "console cy AddPoints ann 10 a bonus  \n"
      "expect reply \"Added 10 points\"\n"
      "  advance 2h\r\n");
  ASSERT_EQ(parsed.Steps.size(), 9u);
  EXPECT_EQ(Only<Comment>(parsed, 0).Text, "the morning");
  EXPECT_EQ(parsed.Steps[1].Line, 3);

  const auto& join = Only<Join>(parsed, 1);
  EXPECT_EQ(join.Name, "Ann Lee");
  EXPECT_EQ(join.Tribe, "Red Raiders");
  EXPECT_EQ(join.Level, 20);
  EXPECT_TRUE(join.Admin);

  const auto& redeem = Only<ModRequest>(parsed, 2);
  EXPECT_EQ(redeem.Int1, -1);
  EXPECT_EQ(redeem.Int2, 1);
  EXPECT_EQ(redeem.Text, "Kit,1;Stone \"Pick\";;");
  const auto& sell = Only<ModRequest>(parsed, 3);
  EXPECT_EQ(sell.Int1, 5);
  EXPECT_EQ(sell.Int2, 0);
  EXPECT_EQ(sell.Text, "Stone") << "a bare word after the numbers is the text";
  EXPECT_EQ(Only<ModRequest>(parsed, 4).Text, "bo Bo");

  EXPECT_EQ(Only<ExpectEvent>(parsed, 5).Contains, json::parse(R"([{"PacketName": "Kit"}])"));
  EXPECT_EQ(Only<Console>(parsed, 6).Command, "AddPoints ann 10 a bonus");
  EXPECT_EQ(Only<ExpectReply>(parsed, 7).Text, "Added 10 points");
  EXPECT_EQ(Only<Advance>(parsed, 8).Seconds, 7200);
}

TEST(ScenarioParser, RefusesEveryBadLineWithItsNumber) {
  const ParsedScenario parsed = ParseScenario(
      "join ann Ann\n"
      "jion bo Bo\n"
      "give ann Stone\n"
      "give ann Stone many\n"
      "advance 2w\n"
      "mod ann TSMod_Nope\n"
      "mod ann TSMod_Buy \"Kit,1\" extra\n"
      "expect event ann a_cat {\"PacketName\": \n"
      "expect discord gift 1\n"
      "join cy Cy level=0\n"
      "chat ann \"unclosed\n"
      "restart now\n"
      "rcon\n"
      "expect points ann 10\n");
  EXPECT_FALSE(parsed.Valid());
  std::vector<int> lines;
  for (const ParseError& error : parsed.Errors) lines.push_back(error.Line);
  EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13}));
  EXPECT_EQ(parsed.Errors[0].Reason, "unknown command \"jion\"");
  EXPECT_EQ(parsed.Errors[0].Source, "jion bo Bo");
  EXPECT_EQ(parsed.Errors[1].Reason, "missing count");
  EXPECT_EQ(parsed.Errors[10].Reason, "missing command");
}

TEST(ScenarioParser, DurationsTakeAWholeNumberAndAUnit) {
  EXPECT_EQ(ParseDuration("90s"), 90);
  EXPECT_EQ(ParseDuration("45m"), 2700);
  EXPECT_EQ(ParseDuration("1d"), 86400);
  for (const char* bad : {"h", "0m", "-1h", "1.5h", "10", "10x", "99999999999d"})
    EXPECT_FALSE(ParseDuration(bad)) << bad;
}

TEST(ScenarioExpectations, JsonContainmentLooksInsideObjectsAndLists) {
  const json event = json::parse(
      R"([{"PacketName": "Kit", "Discount": 0.10000000149011612, "Items": [{"Id": 1}, {"Id": 3}]}, {"PacketName": "Rex"}])");
  EXPECT_TRUE(JsonContains(event, json::parse(R"([{"PacketName": "Rex"}, {"Discount": 0.1, "Items": [{"Id": 3}]}])")));
  EXPECT_FALSE(JsonContains(event, json::parse(R"([{"PacketName": "Kit", "Items": [{"Id": 2}]}])")));
  EXPECT_FALSE(JsonContains(event, json::parse(R"({"PacketName": "Kit"})"))) << "an object is not a list";
  EXPECT_FALSE(JsonContains(json::parse(R"({"Points": 100})"), json::parse(R"({"Points": 10})")));
  EXPECT_FALSE(JsonContains(json::parse(R"({"Points": 100})"), json::parse(R"({"Points": "100"})")));
}

}  // namespace
