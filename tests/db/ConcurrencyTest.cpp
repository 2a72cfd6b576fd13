// Storms of simultaneous trades, spends and redeems on real threads.
#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <random>
#include <thread>
#include <vector>

#include "DbTestSupport.h"
#include "db/DBHelper.h"

namespace {

using dbtest::ShopTables;

constexpr int kThreads = 8;

template <typename Work>
void RunTogether(Work work) {
  std::barrier start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      work(t);
    });
  for (auto& thread : threads) thread.join();
}

FString Id(int player) { return FString("player" + std::to_string(player)); }

TEST(Concurrency, TradesAndSpendsReconcileWithTheTradeLog) {
  ShopTables db;
  constexpr int kPlayers = 4;
  constexpr int64_t kStart = 300;
  for (int p = 0; p < kPlayers; ++p) db.SetPoints("player" + std::to_string(p), kStart);

  std::atomic<int> transfers{0};
  std::atomic<int64_t> spent[kPlayers] = {};
  RunTogether([&](int thread) {
    std::mt19937 random(static_cast<unsigned>(thread) * 7919u);
    for (int i = 0; i < 30; ++i) {
      const int from = static_cast<int>(random() % kPlayers);
      const int to = static_cast<int>(random() % kPlayers);
      const int amount = 1 + static_cast<int>(random() % 60);
      if (i % 5 == 4) {
        if (DBHelper::spendPoints(Id(from), amount)) spent[from] += amount;
        continue;
      }
      const FString target = i % 7 == 6 ? FString(u"nobody") : Id(to);
      const int32_t code = DBHelper::tradePoints(Id(from), u"F", target, u"T", amount);
      EXPECT_TRUE(code == 0 || code == 1 || (code == 2 && target == FString(u"nobody")));
      if (code == 0) ++transfers;
    }
  });

  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("tradelog")), transfers.load());
  int64_t total = 0;
  for (int p = 0; p < kPlayers; ++p) {
    const std::string id = "player" + std::to_string(p);
    const int64_t sent = db.Sql().Number("SELECT IFNULL(SUM(amount),0) FROM " + db.Table("tradelog") +
                                         " WHERE eosid_from='" + id + "'");
    const int64_t received = db.Sql().Number("SELECT IFNULL(SUM(amount),0) FROM " + db.Table("tradelog") +
                                             " WHERE eosid_to='" + id + "'");
    const int64_t balance = db.Points(id);
    EXPECT_EQ(balance, kStart - sent + received - spent[p].load()) << id;
    EXPECT_GE(balance, 0) << id;
    total += balance;
  }
  int64_t allSpent = 0;
  for (const auto& s : spent) allSpent += s.load();
  EXPECT_EQ(total, kPlayers * kStart - allSpent);  // no point made or lost
  EXPECT_EQ(db.Points("nobody"), -1);
  // Each logged balance is the one the transfer left: no log row below zero.
  EXPECT_EQ(db.Sql().Number("SELECT COUNT(*) FROM " + db.Table("tradelog") +
                            " WHERE points_after_from<0 OR points_after_to<0"),
            0);
}

TEST(Concurrency, SimultaneousSpendsNeverOverdraw) {
  ShopTables db;
  db.SetPoints("spender", 100);
  std::atomic<int> taken{0};
  RunTogether([&](int) {
    for (int i = 0; i < 10; ++i)
      if (DBHelper::spendPoints(u"spender", 3)) ++taken;
  });
  EXPECT_EQ(taken.load(), 33);
  EXPECT_EQ(db.Points("spender"), 1);
}

TEST(Concurrency, SimultaneousRedeemsHandOutOnlyWhatWasHeld) {
  ShopTables db;
  DBHelper::changeRedeemAmount(u"r", u"One,0;;;", 1, false);
  DBHelper::changeRedeemAmount(u"r", u"Five,0;;;", 5, false);
  std::atomic<int> usedOne{0};
  std::atomic<int> usedFive{0};
  RunTogether([&](int) {
    const int64_t one = DBHelper::redeemPacket({u"r", u"R", u"S"}, u"One,0;;;", u"d", 1, u"c");
    if (one != -1) usedOne += static_cast<int32_t>(one & 0xFFFFFFFF);
    for (int i = 0; i < 2; ++i) {
      const int64_t five = DBHelper::redeemPacket({u"r", u"R", u"S"}, u"Five,0;;;", u"d", 1, u"c");
      if (five != -1) usedFive += static_cast<int32_t>(five & 0xFFFFFFFF);
    }
  });
  EXPECT_EQ(usedOne.load(), 1);
  EXPECT_EQ(usedFive.load(), 5);
  EXPECT_EQ(db.Held("r", "One,0;;;"), -1);
  EXPECT_EQ(db.Held("r", "Five,0;;;"), -1);
  EXPECT_EQ(db.Sql().Number("SELECT IFNULL(SUM(amount),0) FROM " + db.Table("shoplog")), 6);
}

}  // namespace

namespace {

// A reload rewrites the settings on the game thread while workers connect with
// them: every operation must see one whole set of settings, never a torn one.
TEST(Concurrency, ReloadsWhileOperationsRunNeverTearTheSettings) {
  ShopTables db;
  const auto settings = db.Settings();
  // The same tables in a second database whose name has another length, so each
  // reload reallocates the texts the workers are reading.
  const std::string other = settings.Database + "_reload_" + db.Prefix();
  db.Sql().Exec("CREATE DATABASE IF NOT EXISTS `" + other + "`");
  const std::string databases[] = {settings.Database, other};
  for (const std::string& database : databases) {
    dbtest::ConfigureDatabase(settings, db.Prefix(), database);
    DBHelper::createTables();
    for (int t = 0; t < 2; ++t) DBHelper::loadPlayerPoints(FString("reloader" + std::to_string(t)));
  }

  std::atomic<bool> stop{false};
  std::atomic<int> failures{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < 2; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < 300 && !stop.load(); ++i)
        if (!DBHelper::changePoints(FString("reloader" + std::to_string(t)), 1)) ++failures;
    });
  }
  for (int i = 0; i < 20000 && failures.load() == 0; ++i) dbtest::ConfigureDatabase(settings, db.Prefix(), databases[i % 2]);
  stop = true;
  for (auto& worker : workers) worker.join();
  dbtest::ConfigureDatabase(settings, db.Prefix(), settings.Database);
  db.Sql().Exec("DROP DATABASE IF EXISTS `" + other + "`");
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
