// Game-thread time per delivery on the simulated server: an item stack, a
// weapon with quality and stats, a creature packed into a cryopod with a saddle,
// a console command.
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "config/ShopConfig.h"
#include "config/ShopConfigReader.h"
#include "core/Log.h"
#include "delivery/DeliveryHelper.h"
#include "sim/world/GameModel.h"
#include "sim/assembly/Server.h"

namespace {

const std::string WoodPath = "Blueprint'/Game/Bench/Wood.Wood'";
const std::string SwordPath = "Blueprint'/Game/Bench/Sword.Sword'";
const std::string SaddlePath = "Blueprint'/Game/Bench/Saddle.Saddle'";
const std::string RexPath = "Blueprint'/Game/Bench/Rex.Rex'";

// One server with one player and a catalogue of one packet, for the process.
struct Bench {
  Bench() {
    sim::ServerOptions options;
    options.ServerDir = (std::filesystem::temp_directory_path() / "tandorshop-bench-delivery").string();
    server = std::make_unique<sim::Server>(options);
    TandorShop::CreateLogger();
    player = &server->JoinPlayer(sim::PlayerSpec::Of("EOS-Bench", "Bench"));
    inventory = player->Character->Inventory;
    inventory->MaxSlots = 1 << 20;
    AddItem(WoodPath, 0, 1000);
    AddItem(SwordPath, 1, 1);
    AddItem(SaddlePath, 6, 1);
    cryopod = AddItem(ConfigHelper::DefaultCryoPodPath, 1, 1);
    sim::CreatureClassSpec rex;
    rex.Path = RexPath;
    rex.FinalNPCLevelMultiplier = 1.5f;
    server->Model().Data.AddDinoEntry(sim::CreatureClasses::Add(rex), "Rex");
    ConfigHelper::ReadShopConfig(Catalogue(), ConfigHelper::ShopConfig());
  }

  static sim::SimClass* AddItem(const std::string& path, uint8_t type, int32_t maxStack) {
    sim::ItemClassSpec spec;
    spec.Path = path;
    spec.ItemType = type;
    spec.MaxStack = maxStack;
    for (auto& info : spec.Stats) info.InitialValueConstant = 10.0f;
    return sim::ItemClasses::Add(spec);
  }

  static nlohmann::json Catalogue() {
    using nlohmann::json;
    json wood = {{"Name", "Wood"}, {"Blueprint", WoodPath}, {"PriceIncrease", 1}, {"Amount", 100}};
    json sword = {{"Name", "Sword"}, {"Blueprint", SwordPath}, {"PriceIncrease", 1}, {"Amount", 1},
                  {"Quality", 5.0}, {"FixedDamage", 180.0}, {"FixedDura", 300.0}};
    json dino = {{"Name", "Rex"}, {"Blueprint", RexPath}, {"PriceIncrease", 1}, {"Level", 150},
                 {"ImprintQuality", 1.0}, {"Saddle", SaddlePath}, {"SaddleQuality", 3.0}, {"FixedSaddleArmor", 40.0}};
    json command = {{"Name", "Cmd"}, {"Command", "GiveExp {eos_id} {playerid} {tribeid}"}, {"AsAdmin", true}};
    json packet = {{"ShopCategory", "C"}, {"PacketName", "P"}, {"Price", 1},
                   {"Items", {{{"Variants", json::array({wood, sword})}}}},
                   {"Dinos", {{{"Variants", json::array({dino})}}}},
                   {"Commands", {{{"Variants", json::array({command})}}}}};
    return {{"General", {{"ShopName", "Bench"}, {"ShopKey", "F3"}}},
            {"ShopCategories", {{{"Name", "C"}}}},
            {"ShopPackets", json::array({packet})}};
  }

  UPrimalInventoryComponent* Inventory() { return reinterpret_cast<UPrimalInventoryComponent*>(inventory); }
  const ConfigHelper::ConfigShopPacket& Packet() { return ConfigHelper::ShopConfig().ShopPackets[0]; }
  void EmptyInventory() {
    sim::ItemWorld& items = server->Model().Items;
    for (sim::SimItem* item : items.ItemsOf(inventory)) items.DeleteItem(item);
    for (sim::SimItem* item : items.ItemsWithoutInventory()) items.DeleteItem(item);  // saddles
    items.AddNewItemCalls.clear();
    items.IncrementCalls.clear();
  }

  std::unique_ptr<sim::Server> server;
  sim::SimPlayer* player = nullptr;
  sim::SimInventory* inventory = nullptr;
  sim::SimClass* cryopod = nullptr;
};

Bench& TheBench() {
  static Bench bench;
  return bench;
}

template <typename Deliver>
void RunDeliveries(benchmark::State& state, Deliver deliver) {
  Bench& bench = TheBench();
  int32_t price = 0;
  int since = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(deliver(bench, price));
    if (++since == 256) {  // keep the inventory small; not timed
      state.PauseTiming();
      bench.EmptyInventory();
      since = 0;
      state.ResumeTiming();
    }
  }
  bench.EmptyInventory();
}

void BM_DeliverItemStack(benchmark::State& state) {
  RunDeliveries(state, [](Bench& bench, int32_t& price) {
    const auto& item = bench.Packet().Items[0];
    return DeliveryHelper::DeliverItemVariant(bench.Inventory(), price, &item, &item.Variants[0]);
  });
}

void BM_DeliverItemWithStats(benchmark::State& state) {
  RunDeliveries(state, [](Bench& bench, int32_t& price) {
    const auto& item = bench.Packet().Items[0];
    return DeliveryHelper::DeliverItemVariant(bench.Inventory(), price, &item, &item.Variants[1]);
  });
}

void BM_DeliverCreatureInCryopod(benchmark::State& state) {
  RunDeliveries(state, [](Bench& bench, int32_t& price) {
    const auto& dino = bench.Packet().Dinos[0];
    return DeliveryHelper::DeliverDinoVariant(bench.player->AsController(), bench.Inventory(), price, &dino,
                                              &dino.Variants[0]);
  });
}

void BM_DeliverCommandAsAdmin(benchmark::State& state) {
  RunDeliveries(state, [](Bench& bench, int32_t& price) {
    const auto& command = bench.Packet().Commands[0];
    return DeliveryHelper::DeliverCommandVariant(bench.player->AsController(), price, &command, &command.Variants[0]);
  });
}

BENCHMARK(BM_DeliverItemStack);
BENCHMARK(BM_DeliverItemWithStats);
BENCHMARK(BM_DeliverCreatureInCryopod);
BENCHMARK(BM_DeliverCommandAsAdmin);

}  // namespace

BENCHMARK_MAIN();
