// Operations per second of the database operations, three ways in one run:
//   BM_<op>           a connection per operation (the default)
//   BM_<op>_kept      the thread keeps its connection ("KeepConnections")
//   BM_baseline_<op>  hand-written: the same statements on one connection, sent
//                     one at a time, each operation one transaction committed
//                     at its end (what a plain client of the same statements gets;
//                     the plugin sends the statements whose answer can wait
//                     together with the next, and so needs fewer round trips)
//
//   eval "$(scripts/db env)"; build/.../bench/db/db_bench
//   eval "$(scripts/cluster env)"; build/.../bench/db/db_bench     on the cluster: the host
//                     list, every connection on its first ready node (one writer)
//   TANDORSHOP_BENCH_LINK_DELAY_US=500 build/.../bench/db/db_bench   the same through a
//                     link that holds each piece of data 500 us each way (a network
//                     between the game server and the database), to the first host
#include <benchmark/benchmark.h>
#include <mysql.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "config/ShopConfig.h"
#include "db/DBHelper.h"
#include "db/KeptConnection.h"
#include "db/Statements.h"
#include "sim/engine/EngineRuntime.h"
#include "sim/faultylink/FaultyLink.h"
#include "BenchMain.h"

namespace {

struct Env {
  std::string host, user, password, database, prefix;
  unsigned port = 0;
};

void Configure(const Env& env, bool keepConnections) {
  ConfigHelper::ConfigMysql config;
  config.server = env.host;
  config.username = env.user;
  config.password = env.password;
  config.database = env.database;
  config.tablePrefix = env.prefix;
  config.port = static_cast<int32_t>(env.port);
  config.keepConnections = keepConnections;
  DBHelper::setConfig(config);
}

// The first "host:port" of a host list (or the host alone, with the port given apart).
void UseFirstHost(Env& env) {
  std::string first = env.host.substr(0, env.host.find(','));
  const std::size_t colon = first.rfind(':');
  if (colon != std::string::npos) {
    env.port = static_cast<unsigned>(std::stoi(first.substr(colon + 1)));
    first.resize(colon);
  }
  env.host = first;
}

// With TANDORSHOP_BENCH_LINK_DELAY_US set, every connection goes through a link
// that delays each piece of data that long each way, to the first host.
void ThroughDelayingLink(Env& env) {
  const char* delay = std::getenv("TANDORSHOP_BENCH_LINK_DELAY_US");
  if (delay == nullptr || std::stol(delay) <= 0) return;
  UseFirstHost(env);
  static std::unique_ptr<sim::faultylink::FaultyLink> link;
  link = std::make_unique<sim::faultylink::FaultyLink>(env.host, static_cast<uint16_t>(env.port));
  link->SetDelay(std::chrono::microseconds(std::stol(delay)));
  env.host = sim::faultylink::FaultyLink::Host();
  env.port = link->Port();
}

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
    ThroughDelayingLink(e);
    Configure(e, false);
    DBHelper::createTables();
    for (int i = 0; i < 4; ++i) DBHelper::loadPlayerPoints(FString("bench" + std::to_string(i)));
    DBHelper::assignPoints(u"bench0", 1'000'000'000);
    DBHelper::assignPoints(u"bench2", 1'000'000'000);
    DBHelper::changeRedeemAmount(u"bench0", u"Kit,1;;;", 1'000'000'000, false);
    DBHelper::changeRedeemAmount(u"bench2", u"Kit,1;;;", 1'000'000'000, false);
    return e;
  }();
  return env;
}

FString Player(int thread) { return FString("bench" + std::to_string(thread * 2)); }
FString Partner(int thread) { return FString("bench" + std::to_string(thread * 2 + 1)); }

// ---- the operations as the plugin runs them ----------------------------------

// What a benchmark thread's operations are about, made once before its loop (as
// the hand-written baseline makes its texts once): the player, a trade partner,
// the server information of a log row and the packet.
struct Subject {
  explicit Subject(int thread)
      : player(Player(thread)), partner(Partner(thread)), info{player, u"Bench ()", u"Bench"}, packet(u"Kit,1;;;"),
        kit(u"Kit"), stone(u"Stone"), cooldown(u"KitCd"), sender(u"A"), receiver(u"B") {}
  FString player;
  FString partner;
  ModComm::PlayerServerInfo info;
  FString packet, kit, stone, cooldown, sender, receiver;
};

void LoadPlayerPoints(const Subject& s) { benchmark::DoNotOptimize(DBHelper::loadPlayerPoints(s.player)); }
void ChangePoints(const Subject& s) { DBHelper::changePoints(s.player, 1); }
// A purchase without a player cooldown, the common kind.
void ChargePurchase(const Subject& s) {
  DBHelper::ShopLogRecord written;
  DBHelper::CooldownBefore before;
  DBHelper::chargePurchase(s.info, 1, s.packet, s.kit, 1, FString(), 0, written, before);
}
void SellItems(const Subject& s) { DBHelper::sellItems(s.info, s.stone, s.stone, 1, 1); }
void LoadPointsWithCds(const Subject& s) {
  ModComm::DB_PlayerPointsWithCds record;
  DBHelper::loadPointsWithCds(record, s.player);
}
void TradePoints(const Subject& s) { DBHelper::tradePoints(s.player, s.sender, s.partner, s.receiver, 1); }
void RedeemPacket(const Subject& s) {
  benchmark::DoNotOptimize(DBHelper::redeemPacket(s.info, s.packet, s.kit, 1, s.cooldown));
}

using Operation = void (*)(const Subject& subject);

void UseKeptConnections(bool keep) { Configure(Settings(), keep); }

void PerOperation(benchmark::State& state, Operation operation) {
  UseKeptConnections(false);
  const Subject subject(state.thread_index());
  for (auto _ : state) operation(subject);
  state.SetItemsProcessed(state.iterations());
}

// Each benchmark thread plays a worker of the pool.
void Kept(benchmark::State& state, Operation operation) {
  UseKeptConnections(true);
  const DBHelper::WorkerConnectionScope worker;
  const Subject subject(state.thread_index());
  for (auto _ : state) operation(subject);
  state.SetItemsProcessed(state.iterations());
}

// ---- baseline: one kept connection, one transaction ----------------------------

class KeptConnection {
 public:
  KeptConnection() {
    Env env = Settings();
    UseFirstHost(env);  // the writer of a cluster
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
  void Commit() {
    if (mysql_commit(handle_) != 0) throw std::runtime_error(mysql_error(handle_));
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

void BM_baseline_redeemPacket(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  const std::string packet = "Kit,1;;;";
  int64_t held = 1'000'000'000;
  for (auto _ : state) {
    db.Run(DBHelper::Sql::lockRedeemPacketAmount, id, packet);
    db.Run(DBHelper::Sql::updateExistingRedeemPacketSetAmount, --held, 1700000000, id, packet);
    db.Run(DBHelper::Sql::updatePlayerPacketCd, id, "KitCd", 1700000000, 1700000000);
    db.Run(DBHelper::Sql::selectPlayerPoints, id);
    db.Run(DBHelper::Sql::insertShopLog, id, packet, "Kit", 1700000000, 1, 1, 5, 0, 1, 0, 1, 0);
    db.Commit();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_loadPlayerPoints(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) db.Run(DBHelper::Sql::selectPlayerPoints, id);
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_changePoints(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) {
    db.Run(DBHelper::Sql::addPlayerPoints, 1, 1700000000, id);
    db.Commit();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_chargePurchase(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) {
    db.Run(DBHelper::Sql::spendPlayerPoints, 1, 1700000000, id, 1);
    db.Run(DBHelper::Sql::selectPlayerPoints, id);
    db.Run(DBHelper::Sql::insertShopLog, id, "Kit,1;;;", "Kit", 1700000000, 0, 1, -1, 5, 0, 1, 0, 0);
    db.Commit();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_sellItems(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) {
    db.Run(DBHelper::Sql::addPlayerPoints, 1, 1700000000, id);
    db.Run(DBHelper::Sql::selectPlayerPoints, id);
    db.Run(DBHelper::Sql::insertShopLog, id, "Stone", "Stone", 1700000000, 0, 1, 1, 5, 0, 0, 0, 1);
    db.Commit();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_baseline_loadPointsWithCds(benchmark::State& state) {
  KeptConnection db;
  const std::string id = Narrow(Player(state.thread_index()));
  for (auto _ : state) {
    db.Run(DBHelper::Sql::selectPlayerPoints, id);
    db.Run(DBHelper::Sql::getPlayerCds, id);
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
    db.Commit();
  }
  state.SetItemsProcessed(state.iterations());
}

void RegisterAll() {
  struct Entry {
    const char* name;
    Operation operation;
    void (*baseline)(benchmark::State&);
  };
  const Entry entries[] = {
      {"loadPlayerPoints", LoadPlayerPoints, BM_baseline_loadPlayerPoints},
      {"changePoints", ChangePoints, BM_baseline_changePoints},
      {"chargePurchase", ChargePurchase, BM_baseline_chargePurchase},
      {"sellItems", SellItems, BM_baseline_sellItems},
      {"loadPointsWithCds", LoadPointsWithCds, BM_baseline_loadPointsWithCds},
      {"tradePoints", TradePoints, BM_baseline_tradePoints},
      {"redeemPacket", RedeemPacket, BM_baseline_redeemPacket},
  };
  for (const Entry& entry : entries) {
    const std::string name = entry.name;
    benchmark::RegisterBenchmark(("BM_" + name).c_str(), PerOperation, entry.operation)
        ->Threads(2)->UseRealTime()->MinTime(2.0);
    benchmark::RegisterBenchmark(("BM_" + name + "_kept").c_str(), Kept, entry.operation)
        ->Threads(2)->UseRealTime()->MinTime(2.0);
    benchmark::RegisterBenchmark(("BM_baseline_" + name).c_str(), entry.baseline)
        ->Threads(2)->UseRealTime()->MinTime(2.0);
  }
}

}  // namespace

int main(int argc, char** argv) { return benchsupport::RunBenchmarks(argc, argv, RegisterAll); }
