// The scenario language's parser: what a valid line means, and that a file
// with bad lines is refused line by line before anything runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(ScenarioParser, ExpectationsCanCountAndSayNever) {
  const ParsedScenario parsed = ParseScenario(
      "mark\n"
      "expect no event ann a_updatepoints\n"
      "expect event ann a_cat count 3 [{\"PacketName\": \"Kit\"}]\n"
      "expect no message ann\n"
      "expect message ann count 2 You bought\n"
      "expect command ann count 1 admin GiveItem \"Stone\" 5\n"
      "expect no command bo plain\n"
      "expect command ann cheat summon Rex\n"
      "expect discord buy {\"embeds\": [{\"color\": 5}]}\n"
      "expect discord buy 2\n"
      "expect discord count 3\n"
      "expect no discord trade\n"
      "expect global a_setglobalsettings {\"Categories\": []}\n"
      "expect no reply\n"
      "expect no reply Added\n"
      "expect no log Unexpected DB error\n"
      "expect no player ghost\n");
  ASSERT_TRUE(parsed.Valid()) << parsed.Errors[0].Line << ": " << parsed.Errors[0].Reason;
  EXPECT_TRUE(std::holds_alternative<Mark>(parsed.Steps[0].What));
  EXPECT_EQ(Only<ExpectEvent>(parsed, 1).Amount.Is, Quantity::None);
  const auto& cat = Only<ExpectEvent>(parsed, 2);
  EXPECT_EQ(cat.Amount.Is, Quantity::Exactly);
  EXPECT_EQ(cat.Amount.Count, 3);
  EXPECT_EQ(cat.Contains, json::parse(R"([{"PacketName": "Kit"}])"));
  EXPECT_EQ(Only<ExpectMessage>(parsed, 3).Amount.Is, Quantity::None);
  EXPECT_EQ(Only<ExpectMessage>(parsed, 3).Text, "") << "no text: any message";
  EXPECT_EQ(Only<ExpectMessage>(parsed, 4).Text, "You bought");
  const auto& give = Only<ExpectCommand>(parsed, 5);
  EXPECT_EQ(give.Amount.Count, 1);
  EXPECT_EQ(give.Admin, true);
  EXPECT_EQ(give.Text, "GiveItem \"Stone\" 5");
  EXPECT_EQ(Only<ExpectCommand>(parsed, 6).Admin, false);
  EXPECT_EQ(Only<ExpectCommand>(parsed, 7).Admin, std::nullopt);
  EXPECT_EQ(Only<ExpectCommand>(parsed, 7).Amount.Is, Quantity::Some);
  EXPECT_EQ(Only<ExpectDiscord>(parsed, 8).Contains, json::parse(R"({"embeds": [{"color": 5}]})"));
  EXPECT_EQ(Only<ExpectDiscord>(parsed, 8).Amount.Is, Quantity::Some);
  EXPECT_EQ(Only<ExpectDiscord>(parsed, 9).Amount.Count, 2) << "the count alone, as files written before say it";
  EXPECT_EQ(Only<ExpectDiscord>(parsed, 10).Kind, "");
  EXPECT_EQ(Only<ExpectDiscord>(parsed, 11).Amount.Is, Quantity::None);
  EXPECT_EQ(Only<ExpectGlobal>(parsed, 12).Event, "a_setglobalsettings");
  EXPECT_TRUE(Only<ExpectReply>(parsed, 13).Negated);
  EXPECT_EQ(Only<ExpectReply>(parsed, 13).Text, "");
  EXPECT_EQ(Only<ExpectReply>(parsed, 14).Text, "Added");
  EXPECT_TRUE(Only<ExpectLog>(parsed, 15).Negated);
  EXPECT_EQ(Only<ExpectNoPlayer>(parsed, 16).EosId, "ghost");
}

TEST(ScenarioParser, TogetherAndRepeatSendRequestsInOneTick) {
  const ParsedScenario parsed = ParseScenario(
      "together\n"
      "  mod ann TSMod_Buy \"Kit,1;;;\"\n"
      "  # and at once\n"
      "  mod ann TSMod_Trade 50 bo\n"
      "  console ann AddPoints ann 1\n"
      "end\n"
      "repeat 5 mod ann TSMod_Buy \"Kit,1;;;\"\n");
  ASSERT_TRUE(parsed.Valid()) << parsed.Errors[0].Reason;
  ASSERT_EQ(parsed.Steps.size(), 2u);
  const auto& together = Only<Together>(parsed, 0);
  ASSERT_EQ(together.Steps.size(), 4u);
  EXPECT_EQ(std::get<ModRequest>(together.Steps[2].What).Message, "TSMod_Trade");
  EXPECT_EQ(together.Steps[3].Line, 5);
  const auto& repeat = Only<Repeat>(parsed, 1);
  EXPECT_EQ(repeat.Times, 5);
  EXPECT_EQ(repeat.Request.Text, "Kit,1;;;");

  const ParsedScenario refused = ParseScenario(
      "together\n"
      "rcon AddPoints ann 1\n"
      "together\n"
      "end\n"
      "end\n"
      "repeat 0 mod ann TSMod_Buy x\n"
      "repeat 2 console ann x\n"
      "together\n"
      "mod ann TSMod_OpenShop\n");
  std::vector<int> lines;
  for (const ParseError& error : refused.Errors) lines.push_back(error.Line);
  EXPECT_EQ(lines, (std::vector<int>{2, 3, 5, 6, 7, 8}));
  EXPECT_EQ(refused.Errors[0].Reason, "only mod, console and chat requests go in a together block");
  EXPECT_EQ(refused.Errors[5].Reason, "together is not closed by \"end\"");
}

TEST(ScenarioParser, StepsThatChangeTheWorldAndTheFilesMidRun) {
  const ParsedScenario parsed = ParseScenario(
      "config set General.ShopDisplayName \"Night Market\"\n"
      "config set Packets.\"Starter Kit\".Price 75\n"
      "config set General.TimedPointsReward {\"Enabled\": false}\n"
      "config patch {\"General\": {\"ShopDisplayName\": null}}\n"
      "cooldowns write \"ann;Starter Kit;1999999999\" broken-line\n"
      "cooldowns write\n"
      "database down\n"
      "database up\n"
      "give ann PrimalItem_WeaponPike 2 blueprint quality=30\n"
      "fill ann\n"
      "kill ann\n"
      "level ann 45\n"
      "tribe ann \"Blue Moon\"\n"
      "tribe ann -\n");
  ASSERT_TRUE(parsed.Valid()) << parsed.Errors[0].Line << ": " << parsed.Errors[0].Reason;
  EXPECT_EQ(Only<ConfigSet>(parsed, 0).Value, "Night Market") << "text that is not JSON is text";
  EXPECT_EQ(Only<ConfigSet>(parsed, 1).Path, (std::vector<std::string>{"Packets", "Starter Kit", "Price"}));
  EXPECT_EQ(Only<ConfigSet>(parsed, 1).Value, 75);
  EXPECT_EQ(Only<ConfigSet>(parsed, 2).Value, json::parse(R"({"Enabled": false})"));
  EXPECT_TRUE(Only<ConfigPatch>(parsed, 3).Patch["General"]["ShopDisplayName"].is_null());
  EXPECT_EQ(Only<CooldownsWrite>(parsed, 4).Lines, (std::vector<std::string>{"ann;Starter Kit;1999999999", "broken-line"}));
  EXPECT_TRUE(Only<CooldownsWrite>(parsed, 5).Lines.empty()) << "an empty file";
  EXPECT_FALSE(Only<Database>(parsed, 6).Up);
  EXPECT_TRUE(Only<Database>(parsed, 7).Up);
  const auto& give = Only<Give>(parsed, 8);
  EXPECT_TRUE(give.Blueprint);
  EXPECT_EQ(give.Quality, 30.0f);
  EXPECT_EQ(Only<Fill>(parsed, 9).EosId, "ann");
  EXPECT_EQ(Only<Kill>(parsed, 10).EosId, "ann");
  EXPECT_EQ(Only<SetLevel>(parsed, 11).Level, 45);
  EXPECT_EQ(Only<SetTribe>(parsed, 12).Tribe, "Blue Moon");
  EXPECT_EQ(Only<SetTribe>(parsed, 13).Tribe, "") << "- leaves the tribe";

  const ParsedScenario refused = ParseScenario(
      "config set General..Price 5\n"
      "config patch [1]\n"
      "config delete General\n"
      "database sideways\n"
      "give ann Pike 1 quality=high\n"
      "give ann Pike 1 shiny\n"
      "level ann 0\n"
      "kill\n"
      "expect no points ann 0\n"
      "expect global a_cat\n"
      "expect event ann a_cat count many\n");
  EXPECT_EQ(refused.Errors.size(), 11u);
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
