// Who may see and have a packet: calendar filters, groups and discounts, player cooldowns.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "DbTestSupport.h"
#include "config/CatalogueReader.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "db/DBHelper.h"
#include "shop/Cooldowns.h"
#include "shop/Eligibility.h"
#include "sim/assembly/Server.h"

namespace {

using namespace TandorShop;

ConfigHelper::ConfigExtraTimeSettings Filter(const char* include, const char* exclude) {
  ConfigHelper::ConfigExtraTimeSettings settings;
  if (include != nullptr) settings.HasInclude = ConfigHelper::ParseTimeFilter(FString(include), settings.Include);
  if (exclude != nullptr) settings.HasExclude = ConfigHelper::ParseTimeFilter(FString(exclude), settings.Exclude);
  return settings;
}

TEST(Eligibility, CalendarFilters) {
  const Eligibility::CalendarDay sunday{6, 11, 0}, monday{7, 11, 1}, saturdayInMay{16, 4, 6};
  const auto weekend = Filter("wday:6,7", nullptr);
  EXPECT_TRUE(Eligibility::PassesTimeFilterOn(weekend, sunday));
  EXPECT_FALSE(Eligibility::PassesTimeFilterOn(weekend, monday));
  EXPECT_TRUE(Eligibility::PassesTimeFilterOn(weekend, saturdayInMay));
  const auto notInDecember = Filter(nullptr, "month:12");
  EXPECT_FALSE(Eligibility::PassesTimeFilterOn(notInDecember, monday));
  EXPECT_TRUE(Eligibility::PassesTimeFilterOn(notInDecember, saturdayInMay));
  EXPECT_FALSE(Eligibility::PassesTimeFilterOn(weekend, Eligibility::CalendarDay{}));
}

class Groups : public ::testing::Test {
 protected:
  Groups() : server_(Options()) {
    ConfigHelper::ShopConfig().ClearCatalogue();
    ConfigHelper::ReadCatalogue(nlohmann::json::parse(R"({"GroupPrivileges": [
        {"ForGroups": ["VIP"], "PassivePointsAmount": 5, "ShopDiscount": 10},
        {"ForGroups": ["Gold"], "PassivePointsAmount": 10, "ShopDiscount": 15}]})"),
                                ConfigHelper::ShopConfig());
    server_.SetGroups("Eos1", {"VIP", "Gold"});
  }
  ~Groups() override { ConfigHelper::ShopConfig().ClearCatalogue(); }
  static sim::ServerOptions Options() {
    sim::ServerOptions options;
    options.ServerDir = (std::filesystem::temp_directory_path() / "tandorshop-groups").string();
    return options;
  }
  sim::Server server_;  // loads the Permissions plugin
};

TEST_F(Groups, DiscountAndPassivePointsLargestOrSummed) {
  auto& config = ConfigHelper::ShopConfig();
  config.SumPlayerShopDiscount = false;
  config.SumPlayerPassivePointsAmount = false;
  EXPECT_NEAR(Eligibility::PlayerDiscount(FString("Eos1")), 0.15, 1e-6);
  EXPECT_EQ(Eligibility::PassivePointsOf(FString("Eos1")), 10);
  config.SumPlayerShopDiscount = true;
  config.SumPlayerPassivePointsAmount = true;
  EXPECT_NEAR(Eligibility::PlayerDiscount(FString("Eos1")), 0.25, 1e-6);
  EXPECT_EQ(Eligibility::PassivePointsOf(FString("Eos1")), 15);
  EXPECT_EQ(Eligibility::PassivePointsOf(FString("Nobody")), 0);

  const TArray<FString> vip{FString("VIP")}, none{};
  EXPECT_FALSE(Eligibility::PassesGroupFilter(FString("Eos1"), vip, vip)) << "exclusion wins";
  EXPECT_TRUE(Eligibility::PassesGroupFilter(FString("Eos1"), none, vip));
  EXPECT_FALSE(Eligibility::PassesGroupFilter(FString("Nobody"), none, vip));
  EXPECT_TRUE(Eligibility::PassesGroupFilter(FString("Nobody"), none, none));
}

TEST(PlayerCooldowns, LongCooldownsNeverWrapIntoAvailable) {
  auto& packets = ConfigHelper::ShopConfig().ShopPackets;
  packets.Empty();
  ConfigHelper::ConfigShopPacket forever;
  forever.PacketName = FString("Forever");
  forever.Id = 3;
  forever.PlayerCooldown = INT32_MAX;
  packets.Add(forever);
  const int64_t now = Clock::NowUnix();
  TArray<ModComm::PlayerPacketCooldown> rows;
  rows.Add({FString("forever"), static_cast<int32_t>(now - 10)});
  EXPECT_TRUE(Cooldowns::IsOnPlayerCooldown(now, rows, &packets[0]));
  EXPECT_EQ(Cooldowns::LongestPlayerCooldown(), INT32_MAX);
  packets.Empty();
}

TEST(PlayerCooldowns, StartOfRunCleanupKeepsRowsOfLongCooldownsAndNonAsciiNamesHold) {
  dbtest::ShopTables tables("cdrows");
  const int64_t now = Clock::NowUnix();
  const auto insert = [&](const std::string& name, int64_t age) {
    tables.Sql().Exec("INSERT INTO " + tables.Table("player_cooldowns") + " (eosId,packetName,lastUse) VALUES ('E','" +
                      name + "'," + std::to_string(now - age) + ")");
  };
  insert("Monthly", 35 * 86400);
  insert("Ancient", 45 * 86400);
  DBHelper::runStartupMaintenance({{FString("Monthly"), 40 * 86400}, {FString("Ancient"), 40 * 86400}});
  EXPECT_EQ(tables.Sql().Number("SELECT COUNT(*) FROM " + tables.Table("player_cooldowns")), 1);
  DBHelper::runStartupMaintenance({{FString("Monthly"), 3600}});  // never less than 31 days
  EXPECT_EQ(tables.Sql().Number("SELECT COUNT(*) FROM " + tables.Table("player_cooldowns")), 0);

  DBHelper::buyPacket({FString("E"), FString("L"), FString("S")}, 0, FString(u"W\u00f6chentlich,1;;;"), FString("d"),
                      1, FString(u"W\u00f6chentlich"), true);
  ModComm::DB_PlayerPointsWithCds record;
  DBHelper::loadPointsWithCds(record, FString("E"));
  ASSERT_EQ(record.Cooldowns.Num(), 1);
  EXPECT_EQ(record.Cooldowns[0].PacketName, FString(u"W\u00f6chentlich"));
}

}  // namespace
