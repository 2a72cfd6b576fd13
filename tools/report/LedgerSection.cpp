#include "Days.h"
#include "Sections.h"

namespace report {

namespace {

// In the period and on the chosen server (the time is below the period's end already).
bool InPeriod(const ReportContext& context, const Row& row, unsigned time, unsigned server) {
  const std::optional<int64_t> at = row.Int(time);
  return at && *at >= context.Opts.Since && OnServer(context, row, server);
}

// Rows from the period's end on, and those without a time: counted only (the index on the time finds them).
void CountRowsAfter(const ReportContext& context, Table table, const std::string& valid, RowCounts& counts) {
  context.Db.First("SELECT COUNT(*),IFNULL(SUM(NOT " + valid + "),0) FROM " + context.Table(table) + " WHERE NOT " +
                       context.UpToUntil() + " OR timestamp IS NULL",
                   [&](const Row& row) {
                     counts.Rows += row.IntOr(0, 0);
                     counts.OutOfRange += row.IntOr(1, 0);
                   });
}

void ReadShopLog(const ReportContext& context, Ledger& ledger, Tally& tally) {
  Progress progress("shop log");
  RowCounts& counts = tally.ShopRows;
  context.Db.Stream(
      "SELECT eosId,timestamp,points_change,newpoints,isBuy<>0,isSell<>0,packet,serverid,amount," +
          context.ShopValid() + " FROM " + context.Table(Table::ShopLog) + " WHERE " + context.UpToUntil(),
      [&](const Row& row) {
        ++counts.Rows;
        const bool inPeriod = InPeriod(context, row, 1, 7);
        counts.InPeriod += inPeriod;
        if (row.IntOr(9, 0) != 1) {
          ++counts.OutOfRange;
          counts.OutOfRangeInPeriod += inPeriod;
          return;
        }
        ShopRow shop;
        shop.Player = ledger.Intern(row.Text(0));
        shop.HasPlayer = !row.IsNull(0);
        shop.Time = row.IntOr(1, 0);
        shop.Change = row.IntOr(2, 0);
        shop.Kind = row.IntOr(4, 0) ? ShopKind::Buy : row.IntOr(5, 0) ? ShopKind::Sell : ShopKind::Redeem;
        shop.Packet = row.Text(6);
        shop.Server = row.Int(7);
        shop.Amount = row.IntOr(8, 0);
        LedgerEvent event;
        event.Player = shop.Player;
        event.Time = shop.Time;
        event.Change = shop.Change;
        event.After = row.IntOr(3, 0);
        event.Kind = shop.Kind == ShopKind::Buy    ? EventKind::Purchase
                     : shop.Kind == ShopKind::Sell ? EventKind::Sale
                                                   : EventKind::Redeem;
        ledger.Add(event);
        if (shop.Kind == ShopKind::Buy && OnServer(context, row, 7)) tally.NoteBuy(PacketName(shop.Packet), shop.Time);
        if (inPeriod) tally.AddShop(shop);
      },
      &progress);
  CountRowsAfter(context, Table::ShopLog, context.ShopValid(), counts);
}

void ReadTradeLog(const ReportContext& context, Ledger& ledger, Tally& tally) {
  Progress progress("trade log");
  RowCounts& counts = tally.TradeRows;
  context.Db.Stream(
      "SELECT eosid_from,eosid_to,timestamp,amount,points_after_from,points_after_to,serverid," +
          context.TradeValid() + " FROM " + context.Table(Table::TradeLog) + " WHERE " + context.UpToUntil(),
      [&](const Row& row) {
        ++counts.Rows;
        const bool inPeriod = InPeriod(context, row, 2, 6);
        counts.InPeriod += inPeriod;
        if (row.IntOr(7, 0) != 1) {
          ++counts.OutOfRange;
          counts.OutOfRangeInPeriod += inPeriod;
          return;
        }
        const std::string_view from = row.Text(0);
        TradeRow trade;
        trade.To = ledger.Intern(row.Text(1));
        trade.Time = row.IntOr(2, 0);
        trade.Amount = row.IntOr(3, 0);
        trade.Server = row.Int(6);
        trade.AdminAdd = from == "admin addpoints";
        trade.AdminSet = from == "admin setpoints";
        LedgerEvent in;
        in.Player = trade.To;
        in.Time = trade.Time;
        if (trade.AdminAdd || trade.AdminSet) {
          in.Kind = trade.AdminAdd ? EventKind::AdminAdd : EventKind::AdminSet;
          in.Change = trade.Amount;
          in.After = trade.Amount;
          ledger.Add(in);
        } else {
          LedgerEvent out;
          out.Player = ledger.Intern(from);
          out.Time = in.Time;
          out.Kind = EventKind::TradeOut;
          out.Change = -trade.Amount;
          out.After = row.IntOr(4, 0);
          ledger.Add(out);
          in.Kind = EventKind::TradeIn;
          in.Change = trade.Amount;
          in.After = row.IntOr(5, 0);
          ledger.Add(in);
          trade.From = out.Player;
        }
        if (inPeriod) tally.AddTrade(trade);
      },
      &progress);
  CountRowsAfter(context, Table::TradeLog, context.TradeValid(), counts);
}

}  // namespace

bool OnServer(const ReportContext& context, const Row& row, unsigned server) {
  if (!context.Opts.Server) return true;
  const std::optional<int64_t> id = row.Int(server);
  return id && *id == *context.Opts.Server;
}

LedgerResult ReadLedger(const ReportContext& context, Tally& tally) {
  Ledger ledger;
  const bool withTable = context.Opts.UntilNow && context.Readable(Table::Points);
  if (context.Readable(Table::ShopLog)) ReadShopLog(context, ledger, tally);
  if (context.Readable(Table::TradeLog)) ReadTradeLog(context, ledger, tally);
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
