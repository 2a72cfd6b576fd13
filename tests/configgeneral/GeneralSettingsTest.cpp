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
  EXPECT_EQ(log.Count("Shop key invalid. Only F1 - F10 are valid. Set to default F2"), 1u);
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

TEST(GeneralSettings, AbsentSectionsKeepMessagesDiscordAndPreventFlags) {
  ShopConfigData config;
  config = Read(json{{"General", {{"ShopKey", "F2"}, {"PreventOptions", {{"PreventWhileKnockedOut", true}}}}},
                     {"Messages", {{"BoughtItem", "Got {name}!"}, {"SendPoints", "Sent {amount}"}}},
                     {"DiscordLog", {{"Buy", {{"enabled", true}, {"webhook", "http://127.0.0.1/hook"}}}}}},
                config);
  EXPECT_EQ(config.Messages.BoughtItem, "Got {name}!");
  EXPECT_EQ(config.Messages.GotTimedPoints, "You received {amount} points.");
  EXPECT_TRUE(config.DiscordLog.Buy.enabled);
  EXPECT_FALSE(config.DiscordLog.Sell.enabled);

  // Reload without Messages, DiscordLog and PreventOptions: all three keep what they had.
  config = Read(json{{"General", {{"ShopKey", "F2"}}}}, config);
  EXPECT_EQ(config.Messages.BoughtItem, "Got {name}!");
  EXPECT_EQ(config.Messages.SendPoints, "Sent {amount}");
  EXPECT_TRUE(config.DiscordLog.Buy.enabled);
  EXPECT_EQ(config.DiscordLog.Buy.webhook, "http://127.0.0.1/hook");
  EXPECT_TRUE(config.PreventWhileKnockedOut);

  // A Messages section without a key puts that key back to its default.
  config = Read(json{{"General", {{"ShopKey", "F2"}}}, {"Messages", {{"SendPoints", "x"}}}}, config);
  EXPECT_EQ(config.Messages.BoughtItem, "You bought {name} for {price} points.");
}

TEST(GeneralSettings, AMissingGeneralEndsTheReadAndAWrongKeyKeepsOnlyItsOldValue) {
  {
    LogCapture log;
    ShopConfigData config;
    config.Messages.BoughtItem = "kept";
    config.GroupsHiddenFromTrade.Add(FString("old"));
    config = Read(json{{"Messages", {{"BoughtItem", "new"}}}}, config);
    EXPECT_EQ(log.Count("[warning] Error in ShopConfig"), 1u);
    EXPECT_EQ(config.Messages.BoughtItem, "kept");
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
    EXPECT_EQ(config.RewardIntervalSeconds, 0) << "the wrong key keeps its previous value";
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
