#pragma once
// What the log rows of the period add up to, gathered while the balances walk
// streams them, so that every log is read once: per day, per packet with its
// distinct buyers, per item sold, per packet redeemed, per server with its
// distinct players, per player, and the sales of one item by one player on one
// day. Distinct players are counted on the ids the ledger interns, so no query
// has to count them over the whole log. Pure logic: no database.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace report {

enum class ShopKind : uint8_t { Buy, Sell, Redeem };

// A shop log row whose values are in range.
struct ShopRow {
  uint32_t Player = 0;
  bool HasPlayer = true;  // false: the row's EOS id is NULL (counted nowhere as a player)
  std::string_view Packet;
  int64_t Time = 0;
  int64_t Amount = 0;
  int64_t Change = 0;
  std::optional<int64_t> Server;
  ShopKind Kind = ShopKind::Buy;
};

struct KindSums {
  int64_t Rows = 0, Units = 0, Points = 0;  // Points: spent for buys, earned for sales
};

struct ShopDay {
  KindSums Buys, Sales, Redeems;
};

struct GroupSums {
  int64_t Rows = 0, Units = 0, Points = 0, Last = 0, Players = 0;
};

struct ServerSums {
  KindSums Buys, Sales, Redeems;
  int64_t Players = 0;
};

// A player's points in the period by source and sink.
struct PlayerSums {
  int64_t Sales = 0, Purchases = 0, TradesIn = 0, TradesOut = 0, Grants = 0;
  bool Earned = false, Spent = false;  // has a row of that side (even of 0 points)
};

struct RepeatedSale {
  uint32_t Player = 0;
  std::string Item;
  int64_t Day = 0, Sales = 0, Units = 0, Points = 0;
};

// A trade log row whose values are in range; admin rows name no sender.
struct TradeRow {
  std::optional<uint32_t> From;
  uint32_t To = 0;
  int64_t Time = 0;
  int64_t Amount = 0;
  std::optional<int64_t> Server;
  bool AdminAdd = false, AdminSet = false;
};

// Transfers between players, and the admins' rows.
struct TradeSums {
  int64_t Trades = 0, Volume = 0, Grants = 0, GrantRows = 0, SetRows = 0;
};

// The rows of one log table: all, in the period, and out of range.
struct RowCounts {
  int64_t Rows = 0, InPeriod = 0, OutOfRangeInPeriod = 0, OutOfRange = 0;
};

// The packet's name in a packet string: what comes before the first "," or ";".
std::string_view PacketName(std::string_view packet);

class Tally {
 public:
  // A shop row in the period (and on the chosen server).
  void AddShop(const ShopRow& row);
  // A purchase of a packet before the period's end (on the chosen server), for the packets nobody bought.
  void NoteBuy(std::string_view name, int64_t time);
  // A trade log row in the period (and on the chosen server).
  void AddTrade(const TradeRow& row);

  RowCounts ShopRows, TradeRows;

  const std::map<int64_t, ShopDay>& Days() const { return days_; }
  const std::map<int64_t, TradeSums>& TradeDays() const { return tradeDays_; }
  const std::map<int64_t, TradeSums>& TradeServers() const { return tradeServers_; }
  // Sorted by points, then buys, from the largest; then by name.
  std::vector<std::pair<std::string, GroupSums>> Bought() const;
  const std::map<std::string, int64_t, std::less<>>& LastBuys() const { return lastBuy_; }
  // By units from the largest, then by name; at most `limit`.
  std::vector<std::pair<std::string, GroupSums>> Sold(std::size_t limit) const;
  std::vector<std::pair<std::string, GroupSums>> Redeemed(std::size_t limit) const;
  std::map<int64_t, ServerSums> Servers() const;
  const std::vector<PlayerSums>& Players() const { return players_; }
  // The most sales of one item by one player on one day; ties by player id, item, day.
  std::vector<RepeatedSale> RepeatedSales(std::size_t limit, const std::vector<std::string>& ids) const;

 private:
  struct Group {
    GroupSums Sums;
    std::unordered_set<uint32_t> Players;
  };
  struct SaleKey {
    uint32_t Player, Item;
    int64_t Day;
    bool operator==(const SaleKey&) const = default;
  };
  struct SaleKeyHash {
    std::size_t operator()(const SaleKey& key) const;
  };
  struct ServerGroup {
    ServerSums Sums;
    std::unordered_set<uint32_t> Players;
  };

  using Groups = std::map<std::string, Group, std::less<>>;
  static void AddTo(Groups& groups, std::string_view name, const ShopRow& row, int64_t points);
  static std::vector<std::pair<std::string, GroupSums>> ByUnits(const Groups& groups,
                                                                std::size_t limit);
  PlayerSums& Player(uint32_t id);
  uint32_t Item(std::string_view item);

  std::map<int64_t, ShopDay> days_;
  std::map<int64_t, TradeSums> tradeDays_, tradeServers_;
  Groups bought_, sold_, redeemed_;
  std::map<std::string, int64_t, std::less<>> lastBuy_;
  std::map<int64_t, ServerGroup> servers_;  // a NULL server id is server 0, as the figures print it
  std::vector<PlayerSums> players_;
  std::map<std::string, uint32_t, std::less<>> itemIds_;
  std::vector<std::string> items_;
  std::unordered_map<SaleKey, GroupSums, SaleKeyHash> sales_;
};

}  // namespace report
