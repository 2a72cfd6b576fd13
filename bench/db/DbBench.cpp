// Operations per second of the database operations (a connection each, as the
// plugin runs them) beside a hand-written baseline that sends the same
// statements on one kept connection inside one transaction.
//
//   eval "$(scripts/db env)"; build/.../bench/db/db_bench
#include <benchmark/benchmark.h>
#include <mysql.h>

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "config/ShopConfig.h"
#include "db/DBHelper.h"
#include "db/Statements.h"
#include "sim/EngineRuntime.h"

namespace {

struct Env {
  std::string host, user, password, database, prefix;
  unsigned port = 0;
};

const Env& Settings() {
  static const Env env = [] {
    const auto get = [](const char* name) {
      const char* value = std::getenv(name);
      if (value == nullptr) throw std::runtime_error(std::string(name) + " is not set (eval \"$(scripts/db env)\")");
      return std::string(value);
    };
    Env e{get("TANDORSHOP_DB_HOST"), get("TANDORSHOP_DB_USER"), get("TANDORSHOP_DB_PASSWORD"),
          get("TANDORSHOP_DB_NAME"), "bench" + std::to_string(::getpid()),
          static_cast<unsigned>(std::stoi(get("TANDORSHOP_DB_PORT")))};
    ConfigHelper::ConfigMysql config;
    config.server = e.host;
    config.username = e.user;
    config.password = e.password;
    config.database = e.database;
    config.tablePrefix = e.prefix;
    config.port = static_cast<int32_t>(e.port);
    DBHelper::setConfig(config);
    DBHelper::createTables();
    for (int i = 0; i < 4; ++i) DBHelper::loadPlayerPoints(FString("bench" + std::to_string(i)));
    DBHelper::assignPoints(u"bench0", 1'000'000'000);
    DBHelper::assignPoints(u"bench2", 1'000'000'000);
    return e;
  }();
  return env;
}

FString Player(int thread) { return FString("bench" + std::to_string(thread * 2)); }
FString Partner(int thread) { return FString("bench" + std::to_string(thread * 2 + 1)); }

// ---- the operations as the plugin runs them ----------------------------------

void BM_loadPlayerPoints(benchmark::State& state) {
  Settings();
  const FString id = Player(state.thread_index());
  for (auto _ : state) benchmark::DoNotOptimize(DBHelper::loadPlayerPoints(id));
  state.SetItemsProcessed(state.iterations());
}

void BM_changePoints(benchmark::State& state) {
  Settings();
  const FString id = Player(state.thread_index());
  for (auto _ : state) DBHelper::changePoints(id, 1);
  state.SetItemsProcessed(state.iterations());
}

void BM_buyPacket(benchmark::State& state) {
  Settings();
  const ModComm::PlayerServerInfo info{Player(state.thread_index()), u"Bench ()", u"Bench"};
  for (auto _ : state) DBHelper::buyPacket(info, -1, u"Kit,1;;;", u"Kit", 1, u"KitCd", true);
  state.SetItemsProcessed(state.iterations());
}

void BM_tradePoints(benchmark::State& state) {
  Settings();
  const FString from = Player(state.thread_index());
  const FString to = Partner(state.thread_index());
  for (auto _ : state) DBHelper::tradePoints(from, u"A", to, u"B", 1);
  state.SetItemsProcessed(state.iterations());
}

// ---- baseline: one kept connection, one transaction ----------------------------

class KeptConnection {
 public:
  KeptConnection() {
    const Env& env = Settings();
    handle_ = mysql_init(nullptr);
    mysql_optionsv(handle_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (mysql_real_connect(handle_, env.host.c_str(), env.user.c_str(), env.password.c_str(), env.database.c_str(),
                           env.port, nullptr, 0) == nullptr)
      throw std::runtime_error(mysql_error(handle_));
    mysql_autocommit(handle_, 0);
  }
  ~KeptConnection() {
    mysql_commit(handle_);
    mysql_close(handle_);
  }
  void Run(const std::string& statement) {
    if (mysql_real_query(handle_, statement.data(), statement.size()) != 0) throw std::runtime_error(mysql_error(handle_));
    if (MYSQL_RES* rows = mysql_store_result(handle_)) mysql_free_result(rows);
  }
  template <typename... A>
  void Run(DBHelper::Sql statement, const A&... values) {
    Run(fmt::format(fmt::runtime(DBHelper::StatementText(statement)), Settings().prefix, values...));
  }

 private:
  MYSQL* handle_ = nullptr;
};

std::string Narrow(const FString& id) { return id.ToUtf8(); }

void BM_baseline_loadPlayerPoints(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) db.Run(DBHelper::Sql::selectPlayerPoints, id);
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_changePoints(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) db.Run(DBHelper::Sql::addPlayerPoints, 1, 1700000000, id);
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_buyPacket(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) {
    db.Run(DBHelper::Sql::addPlayerPoints, -1, 1700000000, id);
    db.Run(DBHelper::Sql::updatePlayerPacketCd, id, "KitCd", 1700000000, 1700000000);
    db.Run(DBHelper::Sql::selectPlayerPoints, id);
    db.Run(DBHelper::Sql::insertShopLog, id, "Kit,1;;;", "Kit", 1700000000, 0, 1, -1, 5, 0, 1, 0, 0);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_tradePoints(benchmark::State& state) {
  KeptConnection db;
  const std::string from = Narrow(Player(state.thread_index()));
  const std::string to = Narrow(Partner(state.thread_index()));
  for (auto _ : state) {
    db.Run(DBHelper::Sql::lockTradePartners, from, to);
    db.Run(DBHelper::Sql::addPlayerPoints, -1, 1700000000, from);
    db.Run(DBHelper::Sql::addPlayerPoints, 1, 1700000000, to);
    db.Run(DBHelper::Sql::insertTradeLog, from, to, "A", "B", 1700000000, 0, 1, 5, 5);
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_loadPlayerPoints)->Threads(2)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_baseline_loadPlayerPoints)->Threads(2)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_changePoints)->Threads(2)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_baseline_changePoints)->Threads(2)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_buyPacket)->Threads(2)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_baseline_buyPacket)->Threads(2)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_tradePoints)->Threads(2)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_baseline_tradePoints)->Threads(2)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv) {
  sim::InstallEngineRuntime();  // the game allocator behind FString and TArray
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
