// The report against a year of a big network's logs: a million shop log rows,
// 200,000 trade log rows, 50,000 players. The tables are filled once (under the
// prefix "bench_year"; kept for the next run, --refill fills them again), then
// tandorshop-report runs several times and the median wall time is printed.
// --version 1 fills the tables as they were before they had keys and indexes
// (prefix "bench_year_v1").
//
//   report_bench [--runs N] [--refill] [--version 1|2] [--players N --shop-rows N --trade-rows N]
//
// Needs the private MariaDB server (scripts/db start; eval "$(scripts/db env)").
#include <mysql.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "EconomyFill.h"

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

struct Server {
  MYSQL* Handle = nullptr;
  ~Server() {
    if (Handle != nullptr) mysql_close(Handle);
  }
  bool Exec(const std::string& sql) {
    if (mysql_real_query(Handle, sql.data(), sql.size()) != 0) {
      std::fprintf(stderr, "report_bench: %s\n  in %.200s\n", mysql_error(Handle), sql.c_str());
      return false;
    }
    if (MYSQL_RES* result = mysql_store_result(Handle)) mysql_free_result(result);
    return true;
  }
  long long Count(const std::string& sql) {
    if (mysql_real_query(Handle, sql.data(), sql.size()) != 0) return -1;
    MYSQL_RES* result = mysql_store_result(Handle);
    if (result == nullptr) return -1;
    MYSQL_ROW row = mysql_fetch_row(result);
    const long long value = row != nullptr && row[0] != nullptr ? std::atoll(row[0]) : -1;
    mysql_free_result(result);
    return value;
  }
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  bool refill = false;
  economyfill::Size size{50000, 1000000, 200000, 2000, 365, 0};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool more = i + 1 < argc;
    if (arg == "--runs" && more) runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--refill") refill = true;
    else if (arg == "--version" && more) size.Version = std::atoi(argv[++i]);
    else if (arg == "--players" && more) size.Players = std::atoll(argv[++i]);
    else if (arg == "--shop-rows" && more) size.ShopRows = std::atoll(argv[++i]);
    else if (arg == "--trade-rows" && more) size.TradeRows = std::atoll(argv[++i]);
    else {
      std::fprintf(stderr, "usage: report_bench [--runs N] [--refill] [--version 1|2] [--players N --shop-rows N "
                           "--trade-rows N]\n");
      return 64;
    }
  }
  if (Env("TANDORSHOP_DB_PORT").empty()) {
    std::fprintf(stderr, "report_bench: TANDORSHOP_DB_* not set (scripts/db start; eval \"$(scripts/db env)\")\n");
    return 2;
  }
  Server server;
  server.Handle = mysql_init(nullptr);
  if (mysql_real_connect(server.Handle, Env("TANDORSHOP_DB_HOST").c_str(), Env("TANDORSHOP_DB_USER").c_str(),
                         Env("TANDORSHOP_DB_PASSWORD").c_str(), Env("TANDORSHOP_DB_NAME").c_str(),
                         static_cast<unsigned>(std::atoi(Env("TANDORSHOP_DB_PORT").c_str())), nullptr, 0) == nullptr) {
    std::fprintf(stderr, "report_bench: %s\n", mysql_error(server.Handle));
    return 2;
  }
  // Each form of the tables has its own prefix, so that both stay filled.
  const std::string prefix = size.Version == 1 ? "bench_year_v1" : "bench_year";
  const long long have = server.Count("SELECT COUNT(*) FROM " + prefix + "_shoplog");
  if (refill || have < size.ShopRows) {
    const auto started = std::chrono::steady_clock::now();
    for (const char* table : {"player_points", "player_chars", "player_redeems", "player_cooldowns", "tradelog",
                              "shoplog", "schema", "fill_events", "fill_balances"})
      server.Exec("DROP TABLE IF EXISTS " + prefix + "_" + table);
    size.Now = std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch()).count();
    for (const std::string& statement : economyfill::Statements(prefix, size))
      if (!server.Exec(statement)) return 1;
    std::printf("filled %lld shop log rows, %lld trade log rows, %lld players in %.1f s\n",
                server.Count("SELECT COUNT(*) FROM " + prefix + "_shoplog"),
                server.Count("SELECT COUNT(*) FROM " + prefix + "_tradelog"),
                server.Count("SELECT COUNT(*) FROM " + prefix + "_player_points"), Seconds(started));
  }
  const std::string out = "/tmp/report_bench-" + std::to_string(::getpid()) + ".html";
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const std::string command = std::string("'") + TANDORSHOP_REPORT_BINARY + "' --host '" + Env("TANDORSHOP_DB_HOST") +
                                "' --port " + Env("TANDORSHOP_DB_PORT") + " --user '" + Env("TANDORSHOP_DB_USER") +
                                "' --password '" + Env("TANDORSHOP_DB_PASSWORD") + "' --database '" +
                                Env("TANDORSHOP_DB_NAME") + "' --table-prefix " + prefix +
                                " --since 365d --out " + out + " 2>/dev/null";
    const auto started = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    times.push_back(Seconds(started));
    if (status != 0) {
      std::fprintf(stderr, "report_bench: the report failed (status %d)\n", status);
      return 1;
    }
  }
  std::sort(times.begin(), times.end());
  std::printf("report over a year (%lld shop log rows): median %.2f s, best %.2f s, worst %.2f s of %d runs\n",
              server.Count("SELECT COUNT(*) FROM " + prefix + "_shoplog"), times[times.size() / 2], times.front(),
              times.back(), runs);
  std::remove(out.c_str());
  return 0;
}
