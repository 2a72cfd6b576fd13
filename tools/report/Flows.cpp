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

void AddTradeDays(const Tally& tally, std::map<int64_t, FlowDay>& days) {
  for (const auto& [day, sums] : tally.TradeDays()) {
    FlowDay& f = days[day];
    f.Trades = sums.Trades, f.TradeVolume = sums.Volume;
    f.AdminGrantCount = sums.GrantRows, f.AdminGrants = sums.Grants, f.AdminSetCount = sums.SetRows;
  }
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
    AddTradeDays(tally, days);
    rows["tradelog"] = CountsJson(tally.TradeRows);
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
