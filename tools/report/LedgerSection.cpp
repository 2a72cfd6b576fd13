#include "Days.h"
#include "Sections.h"

namespace report {

LedgerResult ReadLedger(const ReportContext& context) {
  Ledger ledger;
  const bool withTable = context.Opts.UntilNow && context.Readable(Table::Points);
  if (context.Readable(Table::ShopLog)) {
    Progress progress("shop log");
    context.Db.Stream("SELECT eosId,timestamp,points_change,newpoints,isBuy<>0,isSell<>0 FROM " +
                          context.Table(Table::ShopLog) + " WHERE " + context.UpToUntil() + " AND " +
                          context.ShopValid(),
                      [&](const Row& row) {
                        LedgerEvent event;
                        event.Player = ledger.Intern(row.Text(0));
                        event.Time = row.IntOr(1, 0);
                        event.Change = row.IntOr(2, 0);
                        event.After = row.IntOr(3, 0);
                        event.Kind = row.IntOr(4, 0) ? EventKind::Purchase
                                     : row.IntOr(5, 0) ? EventKind::Sale
                                                       : EventKind::Redeem;
                        ledger.Add(event);
                      },
                      &progress);
  }
  if (context.Readable(Table::TradeLog)) {
    Progress progress("trade log");
    context.Db.Stream(
        "SELECT eosid_from,eosid_to,timestamp,amount,points_after_from,points_after_to FROM " +
            context.Table(Table::TradeLog) + " WHERE " + context.UpToUntil() + " AND " + context.TradeValid(),
        [&](const Row& row) {
          const std::string_view from = row.Text(0);
          LedgerEvent in;
          in.Player = ledger.Intern(row.Text(1));
          in.Time = row.IntOr(2, 0);
          if (from == "admin addpoints" || from == "admin setpoints") {
            in.Kind = from == "admin addpoints" ? EventKind::AdminAdd : EventKind::AdminSet;
            in.Change = row.IntOr(3, 0);
            in.After = row.IntOr(3, 0);
            ledger.Add(in);
            return;
          }
          LedgerEvent out;
          out.Player = ledger.Intern(from);
          out.Time = in.Time;
          out.Kind = EventKind::TradeOut;
          out.Change = -row.IntOr(3, 0);
          out.After = row.IntOr(4, 0);
          ledger.Add(out);
          in.Kind = EventKind::TradeIn;
          in.Change = row.IntOr(3, 0);
          in.After = row.IntOr(5, 0);
          ledger.Add(in);
        },
        &progress);
  }
  if (withTable) {
    Progress progress("balances");
    context.Db.Stream("SELECT eosId,points FROM " + context.Table(Table::Points),
                      [&](const Row& row) { ledger.SetBalance(row.Text(0), row.IntOr(1, 0)); }, &progress);
  }
  return ledger.Finish(withTable);
}

void WriteCirculation(const ReportContext& context, const LedgerResult& ledger) {
  nlohmann::json& out = context.Out["circulation"];
  const bool withTable = context.Opts.UntilNow && context.Readable(Table::Points);
  const int64_t firstDay = DayOf(context.Opts.Since);
  const int64_t lastDay = DayOf(context.Opts.Until - 1);
  int64_t running = 0;
  auto day = ledger.Days.begin();
  for (; day != ledger.Days.end() && day->first < firstDay; ++day) running += day->second.Circulation;
  nlohmann::json series = nlohmann::json::array();
  const bool everyDay = lastDay - firstDay <= 800;
  for (int64_t d = firstDay; d <= lastDay; ++d) {
    const bool has = day != ledger.Days.end() && day->first == d;
    if (has) running += day->second.Circulation;
    if (has || everyDay) series.push_back({{"day", DayText(d)}, {"points", running}});
    if (has) ++day;
    if (!everyDay && !has) {
      if (day == ledger.Days.end()) break;
      d = day->first - 1;
    }
  }
  out["series"] = series;
  out["fromLogs"] = ledger.LogTotal;
  if (withTable) {
    out["total"] = ledger.TableTotal;
    out["unexplainedSinceLastRows"] = ledger.TailUnexplained;
    out["playersNeverLogged"] = ledger.PlayersNeverLogged;
    out["playersNotInTable"] = ledger.PlayersNotInTable;
  } else {
    out["total"] = ledger.LogTotal;
  }
  int64_t players = 0;
  int64_t holding = 0;
  for (const LedgerPlayer& player : ledger.Players) {
    if (withTable && !player.InTable) continue;
    ++players;
    if (player.Balance > 0) ++holding;
  }
  out["players"] = players;
  out["playersHolding"] = holding;
  out["networkWide"] = true;
}

}  // namespace report
