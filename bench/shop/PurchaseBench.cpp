// Purchases through the mod on the simulated server with a real database.
// Needs the private database (eval "$(scripts/db env)").
#include <mysql.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Game/TandorShopMod.h"
#include "AsaApi/Host.h"
#include "sim/companions/ClientMod.h"
#include "sim/engine/EngineRuntime.h"
#include "sim/world/GameModel.h"
#include "sim/scenario/ScratchTables.h"
#include "sim/assembly/Server.h"
#include "BenchMain.h"

namespace {

constexpr int kPlayers = 20;
const std::string kStonePath = "Blueprint'/Game/Bench/Stone.Stone'";
const std::string kPrefix = "benchbuy";

std::string Env(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value == nullptr ? fallback : value;
}

nlohmann::json Config(bool keepConnections) {
  nlohmann::json config;
  config["Mysql"] = sim::PrivateDatabaseSection(kPrefix);
  config["Mysql"]["KeepConnections"] = keepConnections;
  config["General"] = {{"ShopName", "Bench"}, {"RewardIntervalMinutes", 60}};
  config["ShopCategories"] = nlohmann::json::parse(R"([{"Name": "Kits"}])");
  config["ShopPackets"] = nlohmann::json::array(
      {{{"ShopCategory", "Kits"}, {"PacketName", "Stone Kit"}, {"Price", 1},
        {"Items", {{{"Variants", {{{"Name", "Stone"}, {"Blueprint", kStonePath}, {"Amount", 1}, {"PriceIncrease", 0}}}}}}}}});
  return config;
}

// A plain client connection for setting balances and clearing the tables.
class Sql {
 public:
  Sql() {
    handle_ = mysql_init(nullptr);
    mysql_real_connect(handle_, Env("TANDORSHOP_DB_HOST", "127.0.0.1").c_str(), Env("TANDORSHOP_DB_USER", "").c_str(),
                       Env("TANDORSHOP_DB_PASSWORD", "").c_str(), Env("TANDORSHOP_DB_NAME", "").c_str(),
                       static_cast<unsigned>(std::stoi(Env("TANDORSHOP_DB_PORT", "3306"))), nullptr, 0);
  }
  ~Sql() { mysql_close(handle_); }
  Sql(const Sql&) = delete;
  Sql& operator=(const Sql&) = delete;
  void Exec(const std::string& statement) { mysql_query(handle_, statement.c_str()); }
  int64_t Number(const std::string& statement) {
    if (mysql_query(handle_, statement.c_str()) != 0) return -1;
    MYSQL_RES* result = mysql_store_result(handle_);
    if (result == nullptr) return -1;
    MYSQL_ROW row = mysql_fetch_row(result);
    const int64_t value = row != nullptr && row[0] != nullptr ? std::atoll(row[0]) : -1;
    mysql_free_result(result);
    return value;
  }

 private:
  MYSQL* handle_ = nullptr;
};

struct Shop {
  explicit Shop(bool keep) : keepConnections(keep) {
    sql.Exec("DROP TABLE IF EXISTS " + kPrefix + "_player_points, " + kPrefix + "_player_chars, " + kPrefix +
             "_player_redeems, " + kPrefix + "_player_cooldowns, " + kPrefix + "_tradelog, " + kPrefix + "_shoplog");
    sim::ServerOptions options;
    options.ServerDir = (std::filesystem::temp_directory_path() / "tandorshop-bench-shop").string();
    const auto folder = std::filesystem::path(options.ServerDir) / "ArkApi/Plugins/TandorShop";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "config.json") << Config(keep).dump();
    sim::ItemClassSpec stone;
    stone.Path = kStonePath;
    stone.MaxStack = 100000;
    stoneClass = sim::ItemClasses::Add(stone);
    server = std::make_unique<sim::Server>(options);
    server->BeginPlay();
    server->LoadPlugin();
    for (int i = 0; i < 2000 && !host::CommandRegistry::Get().HasTickCallback(FString("tan_shp")); ++i) Pump();
    for (int i = 0; i < kPlayers; ++i) {
      sim::PlayerSpec spec = sim::PlayerSpec::Of("Buyer" + std::to_string(i));
      spec.LinkedPlayerId = static_cast<uint64_t>(i + 1);
      players.push_back(&server->JoinPlayer(spec));
    }
    for (int i = 0; i < 200; ++i) Pump();  // logins stored
    sql.Exec("UPDATE " + kPrefix + "_player_points SET points=1000000000");
  }

  ~Shop() { server->UnloadPlugin(); }

  void Pump() {
    server->Tick();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  // Buyers told of their purchase (the points event follows the commit and the
  // delivery) since the events were last cleared; read in the process, so that
  // waiting puts no load on the database.
  std::size_t Told() {
    std::size_t told = 0;
    for (sim::SimPlayer* player : players) told += server->Mod().EventsOf(player->Controller->EosId.ToUtf8(), "a_updatepoints").size();
    return told;
  }
  // Ticks until `count` buyers were told. A buyer is told at the end of the
  // delivery step, which also ends their operation: the next buy is taken at once.
  void WaitForTold(std::size_t count) {
    for (int i = 0; Told() < count && i < 20000; ++i) {
      Pump();
      ++pumps;
    }
  }
  int64_t pumps = 0;
  void ClearInventories() {
    auto& items = server->Model().Items;
    for (sim::SimPlayer* player : players)
      for (sim::SimItem* item : items.ItemsOf(player->Character->Inventory)) items.DeleteItem(item);
  }

  bool keepConnections;
  Sql sql;
  sim::SimClass* stoneClass = nullptr;
  std::unique_ptr<sim::Server> server;
  std::vector<sim::SimPlayer*> players;
};

std::unique_ptr<Shop>& CurrentShop() {
  static std::unique_ptr<Shop> shop;
  return shop;
}

Shop& ShopWith(bool keep) {
  auto& shop = CurrentShop();
  if (!shop || shop->keepConnections != keep) {
    shop.reset();
    shop = std::make_unique<Shop>(keep);
  }
  return *shop;
}

// Every benchmark reports the same counters, as the CSV reporter takes only one
// set of columns for all of them:
//   purchases   purchases completed per second of timed run (end to end only;
//               0 where the run times one step of a purchase)
//   ticks       game-loop ticks per iteration spent waiting for the buyers to be told
//   standin_us  time per iteration the client-mod stand-in spent taking events
//               inside the timed part (its share is not the plugin's)
struct Counters {
  double Purchases = 0;
  int64_t Ticks = 0;
  double StandInMicros = 0;
};

void Report(benchmark::State& state, const Counters& counters) {
  state.counters["purchases"] = benchmark::Counter(counters.Purchases, benchmark::Counter::kIsRate);
  state.counters["ticks"] = benchmark::Counter(static_cast<double>(counters.Ticks), benchmark::Counter::kAvgIterations);
  state.counters["standin_us"] = benchmark::Counter(counters.StandInMicros, benchmark::Counter::kAvgIterations);
}

double Micros(std::chrono::nanoseconds span) { return std::chrono::duration<double, std::micro>(span).count(); }

// Every player buys once; the iteration ends when all purchases are delivered
// and their log rows written.
void BM_PurchasesEndToEnd(benchmark::State& state) {
  Shop& shop = ShopWith(state.range(0) != 0);
  const std::string buy = "Stone Kit";  // the whole packet
  const int64_t pumpsBefore = shop.pumps;
  const auto takenBefore = shop.server->Mod().TimeTakingEvents();
  for (auto _ : state) {
    shop.server->AdvanceClock(1);
    for (sim::SimPlayer* player : shop.players) shop.server->Mod().Send(*player, TandorShopMod::MsgBuy, 0, 0, buy);
    shop.WaitForTold(kPlayers);
    state.PauseTiming();
    shop.ClearInventories();
    shop.server->Mod().ClearEvents();
    state.ResumeTiming();
  }
  Report(state, {static_cast<double>(state.iterations()) * kPlayers, shop.pumps - pumpsBefore,
                 Micros(shop.server->Mod().TimeTakingEvents() - takenBefore)});
}
BENCHMARK(BM_PurchasesEndToEnd)->ArgName("KeepConnections")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Waits without sleeping, as a game thread between ticks does not sleep long: a
// tick timed right after a long sleep pays for a cold core (it costs about 30 µs
// with nothing to do).
void StayAwake(std::chrono::microseconds span) {
  const auto until = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < until) {
  }
}

// The game thread's share of one purchase, in its two steps:
//   BM_PurchaseRequest          the request: every check the game thread makes, the
//                               server cooldown held, the charge posted to a worker
//   BM_PurchaseDeliveryTick/1   the tick after the charge committed: delivery, the
//                               buff event, the chat message, Discord posted
//   BM_PurchaseDeliveryTick/0   the same tick for a charge the database refused
//                               (too few points): nothing delivered, nobody told
void BM_PurchaseRequest(benchmark::State& state) {
  Shop& shop = ShopWith(true);
  sim::ClientMod& mod = shop.server->Mod();
  const int64_t pumpsBefore = shop.pumps;
  double standIn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shop.server->AdvanceClock(1);
    const auto takenBefore = mod.TimeTakingEvents();
    state.ResumeTiming();
    mod.Send(*shop.players[0], TandorShopMod::MsgBuy, 0, 0, "Stone Kit");
    state.PauseTiming();
    standIn += Micros(mod.TimeTakingEvents() - takenBefore);
    shop.WaitForTold(1);
    shop.ClearInventories();
    shop.server->Mod().ClearEvents();
    state.ResumeTiming();
  }
  Report(state, {0, shop.pumps - pumpsBefore, standIn});
}
BENCHMARK(BM_PurchaseRequest)->Unit(benchmark::kMicrosecond)->MinTime(0.05);

void BM_PurchaseDeliveryTick(benchmark::State& state) {
  Shop& shop = ShopWith(true);
  const bool covered = state.range(0) != 0;
  const std::string buyer = "Buyer0";
  shop.sql.Exec("UPDATE " + kPrefix + "_player_points SET points=" + (covered ? "1000000000" : "0") +
                " WHERE eosId='" + buyer + "'");
  auto& registry = host::CommandRegistry::Get();
  sim::ClientMod& mod = shop.server->Mod();
  const int64_t pumpsBefore = shop.pumps;
  double standIn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shop.server->AdvanceClock(1);
    mod.Send(*shop.players[0], TandorShopMod::MsgBuy, 0, 0, "Stone Kit");
    StayAwake(std::chrono::milliseconds(5));  // the charge commits on a worker
    const auto takenBefore = mod.TimeTakingEvents();
    state.ResumeTiming();
    registry.RunTick(0.1f);
    state.PauseTiming();
    standIn += Micros(mod.TimeTakingEvents() - takenBefore);
    if (covered) shop.WaitForTold(1);
    for (int i = 0; i < 3; ++i) shop.Pump();
    shop.ClearInventories();
    shop.server->Mod().ClearEvents();
    state.ResumeTiming();
  }
  shop.sql.Exec("UPDATE " + kPrefix + "_player_points SET points=1000000000");
  // The client-mod stand-in decodes what it receives inside the tick; its share is not the plugin's.
  Report(state, {0, shop.pumps - pumpsBefore, standIn});
}
// Each iteration waits 20 ms untimed for the charge, so a short timed minimum keeps the run short.
BENCHMARK(BM_PurchaseDeliveryTick)->ArgName("charged")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->MinTime(0.05);

}  // namespace

int main(int argc, char** argv) {
  return benchsupport::RunBenchmarks(argc, argv, {}, [] { CurrentShop().reset(); });
}
