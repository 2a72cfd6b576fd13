#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "LogCapture.h"
#include "config/MysqlConfig.h"
#include "config/ShopConfigReader.h"

namespace {

using ConfigHelper::ShopConfigData;
using nlohmann::json;

ShopConfigData Read(const json& root, ShopConfigData config = {}) {
  ConfigHelper::ClearShopConfig(config);
  ConfigHelper::ReadShopConfig(root, config);
  return config;
}

// Everything a read sets outside the catalogue, to compare two reads.
json Settings(const ShopConfigData& c) {
  json buttons = json::array();
  for (const auto& b : c.ButtonOverwrites)
    buttons.push_back({static_cast<int>(b.Kind), b.Text.ToUtf8(), b.Icon.Path.ToUtf8()});
  json hidden = json::array();
  for (const auto& g : c.GroupsHiddenFromTrade) hidden.push_back(g.ToUtf8());
  const auto discord = [](const ConfigHelper::ConfigDiscordKind& k) { return json{k.enabled, k.webhook}; };
  const auto& m = c.Messages;
  return json{{"texts", {c.ShopName.ToUtf8(), c.ShopKey.ToUtf8(), c.BuffName.ToUtf8(), c.CryoPodOverride.Path.ToUtf8(),
                         c.BuffIconOverride.Path.ToUtf8(), c.ShopIconOverride.Path.ToUtf8()}},
              {"numbers", {c.RewardIntervalMinutes, c.RewardIntervalSeconds, c.ShowPacketsAvailableSeconds}},
              {"flags", {c.SumPlayerPassivePointsAmount, c.SumPlayerShopDiscount, c.DisableMultiuse, c.DisableSell,
                         c.DisableTrade, c.ShowBuffIcon, c.PreventWhileHandcuffed, c.PreventWhileKnockedOut,
                         c.PreventWhileRiding}},
              {"buttons", buttons},
              {"hidden", hidden},
              {"discord", {discord(c.DiscordLog.Buy), discord(c.DiscordLog.Sell), discord(c.DiscordLog.Redeem),
                           discord(c.DiscordLog.Trade)}},
              {"messages", {m.BoughtItem, m.GotTimedPoints, m.MissingPoints, m.RedeemPacket, m.GotTradePoints,
                            m.SendPoints}}};
}

TEST(GeneralSettings, ValuesBeforeTheFirstReadAndDefaultsOfAnEmptyGeneral) {
  const ShopConfigData untouched;
  EXPECT_EQ(untouched.ShopName.ToUtf8(), "shopName");
  EXPECT_EQ(untouched.ShopKey.ToUtf8(), "shopName");
  EXPECT_EQ(untouched.BuffName.ToUtf8(), "buffName");
  EXPECT_TRUE(untouched.ShowBuffIcon);
  EXPECT_EQ(untouched.RewardIntervalSeconds, 0);

  LogCapture log;
  const auto config = Read(json{{"General", json::object()}});
  EXPECT_EQ(config.ShopName.ToUtf8(), "");
  EXPECT_EQ(config.ShopKey.ToUtf8(), "F2");
  EXPECT_EQ(log.Count("No shop key set. Set to default F2"), 1u);
  EXPECT_EQ(config.RewardIntervalMinutes, 30);
  EXPECT_EQ(config.RewardIntervalSeconds, 1800);
  EXPECT_EQ(config.ShowPacketsAvailableSeconds, 31536000);
  EXPECT_TRUE(config.ShowBuffIcon);
  EXPECT_EQ(config.CryoPodOverride.Path.ToUtf8(), ConfigHelper::DefaultCryoPodPath);
  EXPECT_EQ(config.ButtonOverwrites.Num(), 0);
}

TEST(GeneralSettings, ShopKeyAcceptsF1ToF10InAnyCaseAndKeepsTheSpelling) {
  for (const char* valid : {"F1", "f10", "F7", "f3"}) {
    LogCapture log;
    EXPECT_EQ(Read(json{{"General", {{"ShopKey", valid}}}}).ShopKey.ToUtf8(), valid);
    EXPECT_EQ(log.Count("Shop key invalid"), 0u);
  }
  for (const char* invalid : {"F11", "F0", "", "G2", "F1 "}) {
    LogCapture log;
    EXPECT_EQ(Read(json{{"General", {{"ShopKey", invalid}}}}).ShopKey.ToUtf8(), "F2") << invalid;
    EXPECT_EQ(log.Count("Shop key invalid"), 1u) << invalid;
  }
}

TEST(GeneralSettings, HoursAndMinutesConvertToSeconds) {
  const auto config = Read(json{{"General",
                                 {{"ShopKey", "F2"},
                                  {"ShowPacketsAvailableInHours", 1.5},
                                  {"RewardIntervalMinutes", 7},
                                  {"PreventOptions", {{"PreventWhileRiding", true}}},
                                  {"GroupsHiddenFromTrade", {"Admins", "Staff"}},
                                  {"ButtonOverwrites", {{"Trade", {{"Text", "Send"}}}, {"Buy", {{"Icon", "Tex'/x'"}}}}}}}});
  EXPECT_EQ(config.ShowPacketsAvailableSeconds, 5400);
  EXPECT_EQ(config.RewardIntervalSeconds, 420);
  EXPECT_TRUE(config.PreventWhileRiding);
  EXPECT_FALSE(config.PreventWhileHandcuffed);
  ASSERT_EQ(config.GroupsHiddenFromTrade.Num(), 2);
  EXPECT_EQ(config.GroupsHiddenFromTrade[1].ToUtf8(), "Staff");
  // Overwrites come in the order Buy, Sell, Log, Redeem, Trade whatever the file's order.
  ASSERT_EQ(config.ButtonOverwrites.Num(), 2);
  EXPECT_EQ(config.ButtonOverwrites[0].Kind, ConfigHelper::ButtonKind::Buy);
  EXPECT_EQ(config.ButtonOverwrites[0].Icon.Path.ToUtf8(), "Tex'/x'");
  EXPECT_EQ(config.ButtonOverwrites[1].Kind, ConfigHelper::ButtonKind::Trade);
  EXPECT_EQ(config.ButtonOverwrites[1].Text.ToUtf8(), "Send");
}

// A typo in a value must not pay rewards every minute or rename the shop: the
// key reads as if it were absent, whatever it held before.
TEST(GeneralSettings, AWrongTypeGivesTheDocumentedDefaultNotTheEarlierValue) {
  ShopConfigData earlier;
  earlier.ShopName = "Earlier";
  earlier.RewardIntervalMinutes = 7;
  earlier.RewardIntervalSeconds = 420;
  earlier.ShowBuffIcon = false;
  earlier.DisableSell = true;
  earlier.PreventWhileRiding = true;
  LogCapture log;
  const auto config = Read(json{{"General",
                                 {{"ShopName", 5},
                                  {"ShopKey", 2},
                                  {"BuffName", false},
                                  {"RewardIntervalMinutes", "30"},
                                  {"ShowPacketsAvailableInHours", "72"},
                                  {"ShowBuffIcon", "yes"},
                                  {"DisableSell", 1},
                                  {"CryoPodOverride", 3},
                                  {"PreventOptions", {{"PreventWhileRiding", "yes"}, {"PreventWhileHandcuffed", true}}},
                                  {"GroupsHiddenFromTrade", {"Admins", 3}},
                                  {"ButtonOverwrites", {{"Buy", {{"Text", "Get"}}}, {"Sell", {{"Text", 1}}}}}}}},
                           earlier);
  EXPECT_EQ(config.ShopName.ToUtf8(), "");
  EXPECT_EQ(config.ShopKey.ToUtf8(), "F2");
  EXPECT_EQ(config.BuffName.ToUtf8(), "");
  EXPECT_EQ(config.RewardIntervalMinutes, 30);
  EXPECT_EQ(config.RewardIntervalSeconds, 1800);
  EXPECT_EQ(config.ShowPacketsAvailableSeconds, 31536000);
  EXPECT_TRUE(config.ShowBuffIcon);
  EXPECT_FALSE(config.DisableSell);
  EXPECT_EQ(config.CryoPodOverride.Path.ToUtf8(), ConfigHelper::DefaultCryoPodPath);
  EXPECT_FALSE(config.PreventWhileRiding);
  EXPECT_TRUE(config.PreventWhileHandcuffed) << "the other flags of PreventOptions are read";
  EXPECT_EQ(config.GroupsHiddenFromTrade.Num(), 0);
  EXPECT_EQ(config.ButtonOverwrites.Num(), 0) << "no half-read list of overwrites";
  EXPECT_EQ(log.Count("Error in ShopConfig"), 11u);
  EXPECT_EQ(log.Count("Shop key"), 0u) << "the wrong type is the error; no second warning";
}

TEST(GeneralSettings, AMissingShopKeyWarnsOtherwiseThanAWrongOne) {
  LogCapture log;
  EXPECT_EQ(Read(json{{"General", json::object()}}).ShopKey.ToUtf8(), "F2");
  EXPECT_EQ(log.Count("No shop key set. Set to default F2"), 1u);
  EXPECT_EQ(log.Count("Shop key invalid"), 0u);
  EXPECT_EQ(Read(json{{"General", {{"ShopKey", "F12"}}}}).ShopKey.ToUtf8(), "F2");
  EXPECT_EQ(log.Count("Shop key invalid. Only F1 - F10 are valid. Set to default F2"), 1u);
}

// A reload gives what a fresh start on the same file gives: for every optional
// key or section, a file without it read over one with it.
TEST(GeneralSettings, AReadOverAnEarlierOneEqualsAFreshStart) {
  const json full = json::parse(R"({
    "General": {"ShopName": "Post", "ShopKey": "f4", "BuffName": "Buff", "CryoPodOverride": "Blueprint'/x'",
                "RewardIntervalMinutes": 5, "ShowPacketsAvailableInHours": 2, "SumPlayerPassivePointsAmount": true,
                "SumPlayerShopDiscount": true, "DisableMultiuse": true, "DisableSell": true, "DisableTrade": true,
                "ShowBuffIcon": false, "GroupsHiddenFromTrade": ["Admins"], "BuffIconOverride": "Tex'/b'",
                "ShopIconOverride": "Tex'/s'",
                "PreventOptions": {"PreventWhileHandcuffed": true, "PreventWhileKnockedOut": true,
                                   "PreventWhileRiding": true},
                "ButtonOverwrites": {"Log": {"Text": "History"}}},
    "DiscordLog": {"Buy": {"enabled": true, "webhook": "http://127.0.0.1/b"},
                   "Sell": {"enabled": true, "webhook": "http://127.0.0.1/s"},
                   "Redeem": {"enabled": true, "webhook": "http://127.0.0.1/r"},
                   "Trade": {"enabled": true, "webhook": "http://127.0.0.1/t"}},
    "Messages": {"BoughtItem": "a", "GotTimedPoints": "b", "MissingPoints": "c", "RedeemPacket": "d",
                 "GotTradePoints": "e", "SendPoints": "f"}
  })");
  std::vector<json> reduced;
  for (const auto& [key, value] : full["General"].items()) {
    json file = full;
    file["General"].erase(key);
    reduced.push_back(file);
  }
  for (const char* section : {"DiscordLog", "Messages"}) {
    json file = full;
    file.erase(section);
    reduced.push_back(file);
    for (const auto& [key, value] : full[section].items()) {
      json partial = full;
      partial[section].erase(key);
      reduced.push_back(partial);
    }
  }
  for (const char* flag : {"PreventWhileHandcuffed", "PreventWhileKnockedOut", "PreventWhileRiding"}) {
    json file = full;
    file["General"]["PreventOptions"].erase(flag);
    reduced.push_back(file);
  }
  LogCapture log;
  const ShopConfigData earlier = Read(full);
  for (const json& file : reduced) {
    EXPECT_EQ(Settings(Read(file, earlier)).dump(), Settings(Read(file)).dump()) << file.dump();
  }

  const ShopConfigData reloaded = Read(json{{"General", {{"ShopKey", "F2"}}}}, earlier);
  EXPECT_FALSE(reloaded.PreventWhileKnockedOut) << "PreventOptions removed: all three false";
  EXPECT_FALSE(reloaded.DiscordLog.Buy.enabled);
  EXPECT_EQ(reloaded.Messages.BoughtItem, "You bought {name} for {price} points.");
}

TEST(GeneralSettings, AMissingGeneralEndsTheReadAndAWrongKeyIsReportedAlone) {
  {
    LogCapture log;
    ShopConfigData config;
    config.Messages.BoughtItem = "kept";
    config.GroupsHiddenFromTrade.Add(FString("old"));
    config = Read(json{{"Messages", {{"BoughtItem", "new"}}}}, config);
    EXPECT_EQ(log.Count("[warning] Error in ShopConfig"), 1u);
    EXPECT_EQ(config.Messages.BoughtItem, "You bought {name} for {price} points.") << "nothing of an earlier read";
    EXPECT_EQ(config.ShopName.ToUtf8(), "shopName") << "the values before the first read";
    EXPECT_EQ(config.GroupsHiddenFromTrade.Num(), 0) << "lists were emptied before the read";
  }
  {
    LogCapture log;
    ShopConfigData config;
    config.BuffName = "before";
    config = Read(json{{"General", {{"ShopName", "Name"}, {"ShopKey", "F4"}, {"RewardIntervalMinutes", "ten"},
                                    {"BuffName", "after"}, {"DisableSell", true}}}},
                  config);
    EXPECT_EQ(log.Count("Error in ShopConfig"), 1u);
    EXPECT_EQ(config.ShopName.ToUtf8(), "Name");
    EXPECT_EQ(config.ShopKey.ToUtf8(), "F4");
    EXPECT_EQ(config.BuffName.ToUtf8(), "after");
    EXPECT_TRUE(config.DisableSell) << "the keys after the wrong one are read";
    EXPECT_EQ(config.RewardIntervalSeconds, 1800) << "the wrong key has its default";
  }
  for (const json& general : {json{{"RewardIntervalMinutes", 2147483647}}, json{{"ShowPacketsAvailableInHours", 1e30}},
                              json{{"ShowBuffIcon", "yes"}}, json{{"ButtonOverwrites", "Buy"}}}) {
    LogCapture log;
    Read(json{{"General", general}});
    EXPECT_EQ(log.Count("Error in ShopConfig"), 1u) << general.dump();
  }
  {
    LogCapture log;
    Read(json::array({1, 2}));
    EXPECT_EQ(log.Count("Error in ShopConfig"), 1u) << "a document that is not an object";
  }
}

TEST(MysqlSettings, DefaultsAndAPartialReadThatIsNotValid) {
  auto full = ConfigHelper::ReadMysqlConfig(json{{"Mysql", {{"server", "db"}, {"database", "shop"}}}});
  EXPECT_TRUE(full.valid);
  EXPECT_EQ(full.port, 123);
  EXPECT_EQ(full.tablePrefix, "");

  LogCapture log;
  auto broken = ConfigHelper::ReadMysqlConfig(json{{"Mysql", {{"server", "db"}, {"username", "u"}, {"password", 5}}}});
  EXPECT_FALSE(broken.valid);
  EXPECT_EQ(broken.server, "db");
  EXPECT_EQ(broken.username, "u");
  EXPECT_EQ(broken.password, "");
  EXPECT_EQ(log.Count("[warning] error in readDiscordLogging"), 1u);

  auto missing = ConfigHelper::ReadMysqlConfig(json{{"General", json::object()}});
  EXPECT_FALSE(missing.valid);
}

TEST(MysqlSection, KeepConnectionsIsOffUnlessSetAndAWrongTypeLeavesTheSectionValid) {
  EXPECT_FALSE(ConfigHelper::ReadMysqlConfig(json{{"Mysql", {{"server", "db"}}}}).keepConnections);
  EXPECT_TRUE(ConfigHelper::ReadMysqlConfig(json{{"Mysql", {{"KeepConnections", true}}}}).keepConnections);
  LogCapture log;
  auto wrong = ConfigHelper::ReadMysqlConfig(json{{"Mysql", {{"server", "db"}, {"KeepConnections", "yes"}}}});
  EXPECT_TRUE(wrong.valid);
  EXPECT_FALSE(wrong.keepConnections);
  EXPECT_EQ(log.Count("[warning] Mysql.KeepConnections must be true or false; connections are not kept."), 1u);
}

}  // namespace
