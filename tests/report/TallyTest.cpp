// What one pass over the logs adds up to: distinct players per packet and per
// server, the orders the lists are shown in, and what counts for a player.
#include <gtest/gtest.h>

#include "Tally.h"

namespace {

using report::ShopKind;
using report::ShopRow;
using report::Tally;

ShopRow Row(uint32_t player, const char* packet, int64_t time, ShopKind kind, int64_t amount, int64_t change,
            int64_t server = 1) {
  ShopRow row;
  row.Player = player;
  row.Packet = packet;
  row.Time = time;
  row.Kind = kind;
  row.Amount = amount;
  row.Change = change;
  row.Server = server;
  return row;
}

TEST(ReportTally, PacketsCountEachBuyerOnceAndAreOrderedByPointsThenBuysThenName) {
  Tally tally;
  const int64_t day = 86400 * 20000;
  tally.AddShop(Row(0, "Gacha,1;;;", day, ShopKind::Buy, 1, -90));
  tally.AddShop(Row(0, "Gacha;;;", day + 5, ShopKind::Buy, 2, -90));  // the same packet, the same buyer
  tally.AddShop(Row(1, "Gacha,1", day + 86400, ShopKind::Buy, 1, -100, 2));
  tally.AddShop(Row(2, "Crate,1;;;", day, ShopKind::Buy, 1, -150));
  tally.AddShop(Row(3, "Crate,1;;;", day, ShopKind::Buy, 1, -150));
  tally.AddShop(Row(2, "Bolt", day, ShopKind::Buy, 1, -300));  // as many points as Crate in fewer buys
  ShopRow anonymous = Row(9, "Bolt", day, ShopKind::Redeem, 4, 0);
  anonymous.HasPlayer = false;
  tally.AddShop(anonymous);

  const auto bought = tally.Bought();
  ASSERT_EQ(bought.size(), 3u);
  EXPECT_EQ(bought[0].first, "Crate");
  EXPECT_EQ(bought[1].first, "Bolt");
  EXPECT_EQ(bought[2].first, "Gacha");
  EXPECT_EQ(bought[2].second.Rows, 3);
  EXPECT_EQ(bought[2].second.Units, 4);
  EXPECT_EQ(bought[2].second.Players, 2);
  EXPECT_EQ(bought[2].second.Last, day + 86400);
  EXPECT_EQ(tally.Redeemed(25).at(0).second.Players, 0) << "a row without an id is nobody";
  EXPECT_EQ(tally.Redeemed(25).at(0).second.Units, 4);

  const auto servers = tally.Servers();
  ASSERT_EQ(servers.size(), 2u);
  EXPECT_EQ(servers.at(1).Players, 3);
  EXPECT_EQ(servers.at(1).Buys.Points, 780);
  EXPECT_EQ(servers.at(1).Redeems.Rows, 1);
  EXPECT_EQ(servers.at(2).Players, 1);
  EXPECT_EQ(tally.Days().at(20000).Buys.Rows, 5);
  EXPECT_EQ(tally.Days().at(20001).Buys.Points, 100);

  EXPECT_EQ(report::PacketName("Metal Crate,2;x;y"), "Metal Crate");
  EXPECT_EQ(report::PacketName("Kit;a,b"), "Kit");
  EXPECT_EQ(report::PacketName(""), "");
}

TEST(ReportTally, PlayersSidesAndRepeatedSalesBreakTiesByIdItemAndDay) {
  Tally tally;
  const int64_t day = 86400 * 20000;
  for (int i = 0; i < 3; ++i) tally.AddShop(Row(1, "Stone", day + i, ShopKind::Sell, 2, 5));
  for (int i = 0; i < 3; ++i) tally.AddShop(Row(0, "Wood", day + 86400 + i, ShopKind::Sell, 1, 1));
  tally.AddShop(Row(0, "Stone", day, ShopKind::Sell, 1, 0));  // a sale of no points still makes an earner
  tally.AddTrade({0, 2, day, 40, 1, false, false});
  tally.AddTrade({std::nullopt, 2, day, 500, 2, true, false});
  tally.AddTrade({std::nullopt, 3, day, -20, 2, true, false});  // a grant taking points is no earning
  tally.AddTrade({std::nullopt, 3, day, 900, 2, false, true});  // a set is no earning either

  const auto& players = tally.Players();
  EXPECT_EQ(players[0].Sales, 3);
  EXPECT_TRUE(players[0].Earned);
  EXPECT_EQ(players[0].TradesOut, 40);
  EXPECT_TRUE(players[0].Spent);
  EXPECT_EQ(players[2].TradesIn, 40);
  EXPECT_EQ(players[2].Grants, 500);
  EXPECT_FALSE(players[2].Spent);
  ASSERT_GT(players.size(), 3u);
  EXPECT_FALSE(players[3].Earned);
  const report::TradeSums& admins = tally.TradeServers().at(2);
  EXPECT_EQ(admins.GrantRows, 2);
  EXPECT_EQ(admins.Grants, 480) << "the day's and the server's grants are what the rows say";
  EXPECT_EQ(admins.SetRows, 1);
  EXPECT_EQ(tally.TradeDays().at(20000).Volume, 40);

  // "EOS-b" (player 0) sorts after "EOS-a" (player 1): three sales each, the id decides.
  const auto sales = tally.RepeatedSales(10, {"EOS-b", "EOS-a"});
  ASSERT_EQ(sales.size(), 3u);
  EXPECT_EQ(sales[0].Player, 1u);
  EXPECT_EQ(sales[0].Sales, 3);
  EXPECT_EQ(sales[0].Units, 6);
  EXPECT_EQ(sales[0].Points, 15);
  EXPECT_EQ(sales[1].Item, "Wood");
  EXPECT_EQ(sales[1].Day, 20001);
  EXPECT_EQ(sales[2].Sales, 1);
  EXPECT_EQ(tally.RepeatedSales(1, {"EOS-b", "EOS-a"}).size(), 1u);
}

}  // namespace
