#include <map>

#include "Days.h"
#include "Sections.h"

namespace report {
namespace {

struct FlowDay {
  int64_t Purchases = 0, PurchaseCount = 0, Units = 0;
  int64_t Sales = 0, SaleCount = 0, SoldUnits = 0;
  int64_t Redeems = 0, RedeemedUnits = 0;
  int64_t Trades = 0, TradeVolume = 0;
  int64_t AdminGrants = 0, AdminGrantCount = 0, AdminSetCount = 0;
  int64_t AdminSetChange = 0, Unexplained = 0;
};

nlohmann::json DayJson(int64_t day, const FlowDay& f) {
  return {{"day", DayText(day)},           {"purchases", f.Purchases},       {"purchaseCount", f.PurchaseCount},
          {"units", f.Units},              {"sales", f.Sales},               {"saleCount", f.SaleCount},
          {"soldUnits", f.SoldUnits},      {"redeems", f.Redeems},           {"redeemedUnits", f.RedeemedUnits},
          {"trades", f.Trades},            {"tradeVolume", f.TradeVolume},   {"adminGrants", f.AdminGrants},
          {"adminGrantCount", f.AdminGrantCount}, {"adminSetCount", f.AdminSetCount},
          {"adminSetChange", f.AdminSetChange},   {"unexplained", f.Unexplained}};
}

void AddShopDays(const Tally& tally, std::map<int64_t, FlowDay>& days) {
  for (const auto& [day, sums] : tally.Days()) {
    FlowDay& f = days[day];
    f.PurchaseCount = sums.Buys.Rows, f.Units = sums.Buys.Units, f.Purchases = sums.Buys.Points;
    f.SaleCount = sums.Sales.Rows, f.SoldUnits = sums.Sales.Units, f.Sales = sums.Sales.Points;
    f.Redeems = sums.Redeems.Rows, f.RedeemedUnits = sums.Redeems.Units;
  }
}

nlohmann::json CountsJson(const RowCounts& counts) {
  return {{"rows", counts.Rows},
          {"inPeriod", counts.InPeriod},
          {"outOfRangeInPeriod", counts.OutOfRangeInPeriod},
          {"outOfRange", counts.OutOfRange}};
}

void ReadTradeDays(const ReportContext& context, std::map<int64_t, FlowDay>& days) {
  context.Db.Stream(std::string("SELECT timestamp DIV 86400,SUM(NOT ") + kAdminRow + "),SUM(IF(" + kAdminRow +
                        ",0,amount)),SUM(eosid_from='admin addpoints'),SUM(IF(eosid_from='admin addpoints',amount,0)),"
                        "SUM(eosid_from='admin setpoints') FROM " +
                        context.Table(Table::TradeLog) + " WHERE " + context.Window() + " AND " +
                        context.TradeValid() + " GROUP BY 1",
                    [&](const Row& row) {
                      FlowDay& f = days[row.IntOr(0, 0)];
                      f.Trades = row.IntOr(1, 0);
                      f.TradeVolume = row.IntOr(2, 0);
                      f.AdminGrantCount = row.IntOr(3, 0);
                      f.AdminGrants = row.IntOr(4, 0);
                      f.AdminSetCount = row.IntOr(5, 0);
                    });
}

// Rows of the trade log: all, in the period, and out of range (in the period and overall).
nlohmann::json TradeRowCounts(const ReportContext& context) {
  const Table table = Table::TradeLog;
  const std::string valid = context.TradeValid();
  nlohmann::json counts;
  context.Db.First("SELECT COUNT(*),IFNULL(SUM(" + context.Window() + "),0),IFNULL(SUM((" + context.Window() +
                       ") AND NOT " + valid + "),0),IFNULL(SUM(NOT " + valid + "),0) FROM " + context.Table(table),
                   [&](const Row& row) {
                     counts = {{"rows", row.IntOr(0, 0)},
                               {"inPeriod", row.IntOr(1, 0)},
                               {"outOfRangeInPeriod", row.IntOr(2, 0)},
                               {"outOfRange", row.IntOr(3, 0)}};
                   });
  return counts;
}

}  // namespace

void WriteFlows(const ReportContext& context, const LedgerResult& ledger, const Tally& tally) {
  std::map<int64_t, FlowDay> days;
  const int64_t firstDay = DayOf(context.Opts.Since);
  const int64_t lastDay = DayOf(context.Opts.Until - 1);
  nlohmann::json& rows = context.Out["rows"];
  if (context.Readable(Table::ShopLog)) {
    AddShopDays(tally, days);
    rows["shoplog"] = CountsJson(tally.ShopRows);
  }
  if (context.Readable(Table::TradeLog)) {
    ReadTradeDays(context, days);
    rows["tradelog"] = TradeRowCounts(context);
  }
  for (const auto& [day, figures] : ledger.Days) {
    if (day < firstDay || day > lastDay) continue;
    days[day].Unexplained = figures.Unexplained;
    days[day].AdminSetChange = figures.AdminSets;
  }
  if (lastDay - firstDay <= 800)
    for (int64_t d = firstDay; d <= lastDay; ++d) days[d];
  nlohmann::json list = nlohmann::json::array();
  FlowDay total;
  for (const auto& [day, f] : days) {
    list.push_back(DayJson(day, f));
    total.Purchases += f.Purchases, total.PurchaseCount += f.PurchaseCount, total.Units += f.Units;
    total.Sales += f.Sales, total.SaleCount += f.SaleCount, total.SoldUnits += f.SoldUnits;
    total.Redeems += f.Redeems, total.RedeemedUnits += f.RedeemedUnits;
    total.Trades += f.Trades, total.TradeVolume += f.TradeVolume;
    total.AdminGrants += f.AdminGrants, total.AdminGrantCount += f.AdminGrantCount;
    total.AdminSetCount += f.AdminSetCount, total.AdminSetChange += f.AdminSetChange;
    total.Unexplained += f.Unexplained;
  }
  nlohmann::json totals = DayJson(0, total);
  totals.erase("day");
  context.Out["flows"] = {{"days", list}, {"totals", totals}};
  if (context.Opts.UntilNow) context.Out["flows"]["unexplainedSinceLastRows"] = ledger.TailUnexplained;
}

}  // namespace report
