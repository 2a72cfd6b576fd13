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
nlohmann::json TopBy(const ReportContext& context, bool earners) {
  std::string parts;
  const std::string shop = context.Table(Table::ShopLog), trade = context.Table(Table::TradeLog);
  const std::string shopWhere = " WHERE " + context.Window() + " AND " + context.ShopValid();
  const std::string tradeWhere = " WHERE " + context.Window() + " AND " + context.TradeValid();
  if (context.Readable(Table::ShopLog))
    parts += earners ? "SELECT eosId AS id,points_change AS a,0 AS b,0 AS c FROM " + shop + shopWhere + " AND isSell<>0"
                     : "SELECT eosId AS id,-points_change AS a,0 AS b,0 AS c FROM " + shop + shopWhere + " AND isBuy<>0";
  if (context.Readable(Table::TradeLog)) {
    if (!parts.empty()) parts += " UNION ALL ";
    parts += earners ? "SELECT eosid_to,0,amount,0 FROM " + trade + tradeWhere + " AND NOT " + kAdminRow +
                           " UNION ALL SELECT eosid_to,0,0,amount FROM " + trade + tradeWhere +
                           " AND eosid_from='admin addpoints' AND amount>0"
                     : "SELECT eosid_from,0,amount,0 FROM " + trade + tradeWhere + " AND NOT " + kAdminRow;
  }
  nlohmann::json list = nlohmann::json::array();
  if (parts.empty()) return list;
  const char* third = earners ? "grants" : "unused";
  context.Db.Stream("SELECT id,SUM(a),SUM(b),SUM(c),SUM(a+b+c) AS t FROM (" + parts +
                        ") x GROUP BY id ORDER BY t DESC,id LIMIT " + std::to_string(kTop),
                    [&](const Row& row) {
                      nlohmann::json player = {{"eosId", row.Text(0)}, {"total", row.IntOr(4, 0)}};
                      player[earners ? "sales" : "purchases"] = row.IntOr(1, 0);
                      player[earners ? "tradesIn" : "tradesOut"] = row.IntOr(2, 0);
                      if (earners) player[third] = row.IntOr(3, 0);
                      list.push_back(player);
                    });
  return list;
}

nlohmann::json RepeatedSales(const ReportContext& context) {
  nlohmann::json list = nlohmann::json::array();
  if (!context.Readable(Table::ShopLog)) return list;
  context.Db.Stream("SELECT eosId,packet,timestamp DIV 86400 AS d,COUNT(*) AS n,SUM(amount),SUM(points_change) FROM " +
                        context.Table(Table::ShopLog) + " WHERE " + context.Window() + " AND " + context.ShopValid() +
                        " AND isSell<>0 GROUP BY eosId,packet,d ORDER BY n DESC,eosId,packet,d LIMIT 10",
                    [&](const Row& row) {
                      list.push_back({{"eosId", row.Text(0)},
                                      {"item", row.Text(1)},
                                      {"day", DayText(row.IntOr(2, 0))},
                                      {"sales", row.IntOr(3, 0)},
                                      {"units", row.IntOr(4, 0)},
                                      {"points", row.IntOr(5, 0)}});
                    });
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

void WritePlayers(const ReportContext& context, const LedgerResult& ledger) {
  nlohmann::json& out = context.Out["players"];
  Balances(context, out);
  out["topEarners"] = TopBy(context, true);
  out["topSpenders"] = TopBy(context, false);
  out["repeatedSales"] = RepeatedSales(context);
  int64_t positive = 0, players = 0;
  out["unexplained"] = Unexplained(ledger, positive, players);
  out["unexplainedPlayers"] = players;
  out["unexplainedPositive"] = positive;
}

}  // namespace report
