#include <algorithm>

#include "Days.h"
#include "Sections.h"

namespace report {
namespace {

constexpr int kTop = 20;

void Balances(const ReportContext& context, nlohmann::json& out) {
  out["balances"] = nlohmann::json::array();
  if (!context.Readable(Table::Points)) return;
  const char* bucket =
      "CASE WHEN points<0 THEN 0 WHEN points=0 THEN 1 WHEN points<100 THEN 2 WHEN points<1000 THEN 3 "
      "WHEN points<10000 THEN 4 WHEN points<100000 THEN 5 ELSE 6 END";
  static const char* const kLabels[] = {"below 0", "0", "1-99", "100-999", "1,000-9,999", "10,000-99,999",
                                        "100,000 and more"};
  int64_t counts[7] = {}, sums[7] = {};
  context.Db.Stream(std::string("SELECT ") + bucket + " AS b,COUNT(*),SUM(points) FROM " +
                        context.Table(Table::Points) + " GROUP BY b",
                    [&](const Row& row) {
                      const int64_t b = row.IntOr(0, 0);
                      if (b < 0 || b > 6) return;
                      counts[b] = row.IntOr(1, 0);
                      sums[b] = row.IntOr(2, 0);
                    });
  for (int b = 0; b < 7; ++b)
    out["balances"].push_back({{"range", kLabels[b]}, {"players", counts[b]}, {"points", sums[b]}});
  std::vector<int64_t> points;
  context.Db.Stream("SELECT points FROM " + context.Table(Table::Points) + " ORDER BY points",
                    [&](const Row& row) { points.push_back(row.IntOr(0, 0)); });
  if (points.empty()) return;
  auto at = [&](double share) { return points[std::min(points.size() - 1, std::size_t(share * points.size()))]; };
  out["percentiles"] = {{"median", at(0.5)}, {"p90", at(0.9)}, {"p99", at(0.99)}, {"max", points.back()}};
}

// Players by what they gained (sales, trades received, admin grants) or gave (purchases, trades sent).
nlohmann::json TopBy(const Tally& tally, const LedgerResult& ledger, bool earners) {
  struct Entry {
    uint32_t Player;
    int64_t Total;
  };
  std::vector<Entry> order;
  const std::vector<PlayerSums>& players = tally.Players();
  for (uint32_t i = 0; i < players.size(); ++i) {
    const PlayerSums& p = players[i];
    if (earners ? p.Earned : p.Spent)
      order.push_back({i, earners ? p.Sales + p.TradesIn + p.Grants : p.Purchases + p.TradesOut});
  }
  auto id = [&](uint32_t player) -> const std::string& { return ledger.Players[player].EosId; };
  const std::size_t n = std::min<std::size_t>(kTop, order.size());
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n), order.end(),
                    [&](const Entry& a, const Entry& b) {
                      return a.Total != b.Total ? a.Total > b.Total : id(a.Player) < id(b.Player);
                    });
  nlohmann::json list = nlohmann::json::array();
  for (std::size_t i = 0; i < n; ++i) {
    const PlayerSums& p = players[order[i].Player];
    nlohmann::json player = {{"eosId", id(order[i].Player)}, {"total", order[i].Total}};
    player[earners ? "sales" : "purchases"] = earners ? p.Sales : p.Purchases;
    player[earners ? "tradesIn" : "tradesOut"] = earners ? p.TradesIn : p.TradesOut;
    if (earners) player["grants"] = p.Grants;
    list.push_back(player);
  }
  return list;
}

nlohmann::json RepeatedSales(const Tally& tally, const LedgerResult& ledger) {
  std::vector<std::string> ids;
  ids.reserve(ledger.Players.size());
  for (const LedgerPlayer& player : ledger.Players) ids.push_back(player.EosId);
  nlohmann::json list = nlohmann::json::array();
  for (const RepeatedSale& sale : tally.RepeatedSales(10, ids))
    list.push_back({{"eosId", ids[sale.Player]},
                    {"item", sale.Item},
                    {"day", DayText(sale.Day)},
                    {"sales", sale.Sales},
                    {"units", sale.Units},
                    {"points", sale.Points}});
  return list;
}

nlohmann::json Unexplained(const LedgerResult& ledger, int64_t& positive, int64_t& players) {
  std::vector<const LedgerPlayer*> order;
  for (const LedgerPlayer& player : ledger.Players) {
    if (player.Unexplained > 0) {
      positive += player.Unexplained;
      ++players;
    }
    order.push_back(&player);
  }
  const std::size_t n = std::min<std::size_t>(kTop, order.size());
  std::partial_sort(order.begin(), order.begin() + n, order.end(), [](const LedgerPlayer* a, const LedgerPlayer* b) {
    return a->Unexplained != b->Unexplained ? a->Unexplained > b->Unexplained : a->EosId < b->EosId;
  });
  nlohmann::json list = nlohmann::json::array();
  for (std::size_t i = 0; i < n && order[i]->Unexplained > 0; ++i)
    list.push_back({{"eosId", order[i]->EosId},
                    {"balance", order[i]->Balance},
                    {"explained", order[i]->Explained},
                    {"unexplained", order[i]->Unexplained},
                    {"rows", order[i]->Rows}});
  return list;
}

}  // namespace

void WritePlayers(const ReportContext& context, const LedgerResult& ledger, const Tally& tally) {
  nlohmann::json& out = context.Out["players"];
  Balances(context, out);
  out["topEarners"] = TopBy(tally, ledger, true);
  out["topSpenders"] = TopBy(tally, ledger, false);
  out["repeatedSales"] = RepeatedSales(tally, ledger);
  int64_t positive = 0, players = 0;
  out["unexplained"] = Unexplained(ledger, positive, players);
  out["unexplainedPlayers"] = players;
  out["unexplainedPositive"] = positive;
}

}  // namespace report
