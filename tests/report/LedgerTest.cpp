// The balances walk and the command line's pure parts.
#include <gtest/gtest.h>

#include "Days.h"
#include "Ledger.h"
#include "Options.h"

namespace {

using report::EventKind;
using report::Ledger;
using report::LedgerEvent;

LedgerEvent Event(Ledger& ledger, const char* id, int64_t time, EventKind kind, int64_t change, int64_t after) {
  LedgerEvent event;
  event.Player = ledger.Intern(id);
  event.Time = time;
  event.Kind = kind;
  event.Change = change;
  event.After = after;
  return event;
}

TEST(ReportLedger, StepsNoRowExplainsAreUnexplainedOnTheirDayAndTheTableClosesTheWalk) {
  Ledger ledger;
  const int64_t day = 86400 * 20000;
  // Rows added out of time order: the walk sorts them.
  ledger.Add(Event(ledger, "A", day + 500, EventKind::Purchase, -30, 90));  // 120 - 30: rewards of 20 before it
  ledger.Add(Event(ledger, "A", day + 100, EventKind::Sale, 100, 100));     // from 0
  ledger.Add(Event(ledger, "A", day + 86400, EventKind::AdminAdd, 50, 0));  // 140, no balance recorded
  ledger.Add(Event(ledger, "A", day + 86500, EventKind::TradeOut, -40, 100));
  ledger.Add(Event(ledger, "B", day + 86500, EventKind::TradeIn, 40, 540));  // B had 500 before any row
  ledger.Add(Event(ledger, "C", day + 86600, EventKind::AdminSet, 0, 10));
  ledger.SetBalance("A", 130);  // 30 more since the last row
  ledger.SetBalance("B", 540);
  ledger.SetBalance("C", 10);
  ledger.SetBalance("D", 7);  // never in a log
  const report::LedgerResult result = ledger.Finish(true);
  ASSERT_EQ(result.Days.size(), 2u);
  EXPECT_EQ(result.Days.at(20000).Unexplained, 20);
  EXPECT_EQ(result.Days.at(20000).Circulation, 90);
  EXPECT_EQ(result.Days.at(20001).Unexplained, 500);
  EXPECT_EQ(result.Days.at(20001).AdminSets, 10);
  EXPECT_EQ(result.Days.at(20001).Circulation, 10 + 540 + 10);
  EXPECT_EQ(result.TailUnexplained, 30 + 7);
  EXPECT_EQ(result.LogTotal, 100 + 540 + 10);
  EXPECT_EQ(result.TableTotal, 130 + 540 + 10 + 7);
  EXPECT_EQ(result.PlayersNeverLogged, 1);
  for (const report::LedgerPlayer& player : result.Players) {
    EXPECT_EQ(player.Explained + player.Unexplained, player.Balance) << player.EosId;
    if (player.EosId == "A") {
      EXPECT_EQ(player.Explained, 100 - 30 + 50 - 40);
      EXPECT_EQ(player.Unexplained, 20 + 30);
    }
    if (player.EosId == "C") {
      EXPECT_EQ(player.Unexplained, 0) << "a SetPoints explains the whole step";
    }
  }
  // A period that ends in the past stops at the last rows.
  Ledger past;
  past.Add(Event(past, "A", day, EventKind::Sale, 5, 25));
  past.SetBalance("A", 1000);
  const report::LedgerResult stopped = past.Finish(false);
  EXPECT_EQ(stopped.Players[0].Balance, 25);
  EXPECT_EQ(stopped.Players[0].Unexplained, 20);
  EXPECT_EQ(stopped.TailUnexplained, 0);
}

TEST(ReportOptions, TimesHostListsAndPrefixes) {
  const int64_t now = 1'800'000'000;
  EXPECT_EQ(report::ParseTimeArgument("30d", now), now - 30 * 86400);
  EXPECT_EQ(report::ParseTimeArgument("12h", now), now - 12 * 3600);
  EXPECT_EQ(report::ParseTimeArgument("2w", now), now - 14 * 86400);
  EXPECT_EQ(report::ParseTimeArgument("2026-11-01", now), 1793491200);
  EXPECT_EQ(report::ParseTimeArgument("2026-11-01T12:30:00", now), 1793491200 + 45000);
  EXPECT_EQ(report::ParseTimeArgument("1700000000", now), 1700000000);
  for (const char* bad : {"", "d", "-5d", "2026-13-01", "2026-11-01T25:00", "99999999999999999999d", "soon"})
    EXPECT_FALSE(report::ParseTimeArgument(bad, now).has_value()) << bad;
  EXPECT_EQ(report::DayText(report::DayOf(1793491200 + 86399)), "2026-11-01");
  EXPECT_EQ(report::DayText(report::DayOf(-1)), "1969-12-31");

  std::string error;
  const auto hosts = report::ParseHostList("db1:3307, db2 ,[::1]:3308", 3306, error);
  ASSERT_EQ(hosts.size(), 3u) << error;
  EXPECT_EQ(hosts[0].Host, "db1");
  EXPECT_EQ(hosts[0].Port, 3307u);
  EXPECT_EQ(hosts[1].Host, "db2");
  EXPECT_EQ(hosts[1].Port, 3306u);
  EXPECT_EQ(hosts[2].Host, "::1");
  EXPECT_EQ(hosts[2].Port, 3308u);
  for (const char* bad : {"db:0", "db:x", "[::1", "db:70000"}) {
    error.clear();
    EXPECT_TRUE(report::ParseHostList(bad, 3306, error).empty()) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  EXPECT_TRUE(report::ValidTablePrefix("shop_2"));
  EXPECT_TRUE(report::ValidTablePrefix(""));
  EXPECT_FALSE(report::ValidTablePrefix("shop`x"));
  EXPECT_FALSE(report::ValidTablePrefix("a b"));
}

}  // namespace
