// Reading a 10,000-packet configuration with the plugin's reader, beside
// nlohmann-json's parse of the same file alone.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "GeneratedShop.h"
#include "config/ShopConfigReader.h"
#include "sim/engine/EngineRuntime.h"
#include "BenchMain.h"

namespace {

constexpr int PacketCount = 10000;

const std::string& ConfigPath() {
  static const std::string path = [] {
    const auto file = std::filesystem::temp_directory_path() / "tandorshop-bench-config.json";
    std::ofstream(file) << GeneratedShop(PacketCount).dump(2);
    return file.string();
  }();
  return path;
}

nlohmann::json ParseFile() {
  std::ifstream file(ConfigPath());
  return nlohmann::json::parse(file);
}

void BM_JsonParseOnly(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ParseFile());
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(ConfigPath()));
}

void BM_ReadShopConfig(benchmark::State& state) {
  int packets = 0;
  for (auto _ : state) {
    const auto root = ParseFile();
    auto config = std::make_unique<ConfigHelper::ShopConfigData>();
    ConfigHelper::ReadShopConfig(root, *config);
    packets = config->ShopPackets.Num();
    benchmark::DoNotOptimize(config.get());
  }
  state.counters["packets"] = packets;
}

BENCHMARK(BM_JsonParseOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadShopConfig)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  return benchsupport::RunBenchmarks(argc, argv, {}, [] { std::remove(ConfigPath().c_str()); });
}
