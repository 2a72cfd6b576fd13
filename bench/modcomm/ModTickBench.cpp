// Game-thread time per server tick with 100 players online: the paced sender
// serving every player's category list, and the passive reward paying everybody.
// Needs the private database (eval "$(scripts/db env)").
#include <algorithm>
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
#include "sim/scenario/ScratchTables.h"
#include "sim/assembly/Server.h"
#include "BenchMain.h"

namespace {

constexpr int kPlayers = 100;

nlohmann::json Config() {
  nlohmann::json config;
  config["Mysql"] = sim::PrivateDatabaseSection("benchmod");
  config["General"] = {{"ShopName", "Bench"}, {"RewardIntervalMinutes", 1}};
  config["GroupPrivileges"] = nlohmann::json::parse(R"([{"ForGroups": ["VIP"], "PassivePointsAmount": 5}])");
  config["ShopCategories"] = nlohmann::json::parse(R"([{"Name": "Kits"}])");
  for (int i = 0; i < 15; ++i)
    config["ShopPackets"].push_back({{"ShopCategory", "Kits"}, {"PacketName", "Kit " + std::to_string(i)}, {"Price", i}});
  return config;
}

struct Shop {
  Shop() {
    sim::ServerOptions options;
    options.ServerDir = (std::filesystem::temp_directory_path() / "tandorshop-bench-modcomm").string();
    const auto folder = std::filesystem::path(options.ServerDir) / "ArkApi/Plugins/TandorShop";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "config.json") << Config().dump();
    server = std::make_unique<sim::Server>(options);
    server->BeginPlay();
    server->LoadPlugin();
    for (int i = 0; i < 2000 && !host::CommandRegistry::Get().HasTickCallback(FString("tan_shp")); ++i) Pump();
    for (int i = 0; i < kPlayers; ++i) {
      const std::string eosId = "BenchPlayer" + std::to_string(i);
      server->SetGroups(eosId, {"VIP"});
      sim::PlayerSpec spec = sim::PlayerSpec::Of(eosId);
      spec.LinkedPlayerId = static_cast<uint64_t>(i + 1);
      players.push_back(&server->JoinPlayer(spec));
    }
    for (int i = 0; i < 200; ++i) Pump();  // logins stored and read back
  }
  ~Shop() { server->UnloadPlugin(); }
  void Pump() {
    server->Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::unique_ptr<sim::Server> server;
  std::vector<sim::SimPlayer*> players;
};

Shop& TheShop() {
  static Shop shop;
  return shop;
}

// Every player asks for the 15 packets (two batches); the timed part is the
// ticks that send them: 10 ticks, two of which serve all 100 players. Besides
// the whole tick, the counters give the plugin's own share: the tick less the
// time the client-mod stand-in spent decoding and recording what it received.
void BM_PacedSenderTick(benchmark::State& state) {
  Shop& shop = TheShop();
  auto& registry = host::CommandRegistry::Get();
  sim::ClientMod& mod = shop.server->Mod();
  std::vector<double> pluginTicks;
  double standIn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mod.ClearEvents();
    shop.server->AdvanceClock(1);
    for (sim::SimPlayer* player : shop.players) mod.Send(*player, TandorShopMod::MsgCategory, 0);
    state.ResumeTiming();
    for (int tick = 0; tick < 10; ++tick) {
      const auto takenBefore = mod.TimeTakingEvents();
      const auto start = std::chrono::steady_clock::now();
      registry.RunTick(0.1f);
      const auto whole = std::chrono::steady_clock::now() - start;
      const auto taken = mod.TimeTakingEvents() - takenBefore;
      pluginTicks.push_back(std::chrono::duration<double, std::micro>(whole - taken).count());
      standIn += std::chrono::duration<double, std::micro>(taken).count();
    }
  }
  const double ticks = static_cast<double>(pluginTicks.size());
  state.counters["per_tick"] = benchmark::Counter(ticks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  std::sort(pluginTicks.begin(), pluginTicks.end());
  double pluginTotal = 0;
  for (const double us : pluginTicks) pluginTotal += us;
  state.counters["plugin_us_median_tick"] = pluginTicks[pluginTicks.size() / 2];
  state.counters["plugin_us_mean_tick"] = pluginTotal / ticks;
  state.counters["plugin_us_busiest_tick"] = pluginTicks.back();
  state.counters["standin_us_mean_tick"] = standIn / ticks;
}
BENCHMARK(BM_PacedSenderTick)->Unit(benchmark::kMicrosecond);

// The ts.points timer over one reward period: 15 calls, one of which pays all 100 players.
void BM_PassiveRewardTimer(benchmark::State& state) {
  Shop& shop = TheShop();
  auto& registry = host::CommandRegistry::Get();
  for (auto _ : state) {
    state.PauseTiming();
    shop.server->AdvanceClock(61);
    state.ResumeTiming();
    for (int call = 0; call < 15; ++call) registry.RunTimers();
  }
  state.counters["per_call"] = benchmark::Counter(static_cast<double>(state.iterations()) * 15,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PassiveRewardTimer)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return benchsupport::RunBenchmarks(argc, argv); }
