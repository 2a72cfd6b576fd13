// libFuzzer target: the whole configuration read (general settings, database
// settings, catalogue) on arbitrary JSON, then packet strings of what was read.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <nlohmann/json.hpp>

#include "config/MysqlConfig.h"
#include "config/ShopConfigReader.h"
#include "shop/PacketHelper.h"
#include "sim/engine/EngineRuntime.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sim::InstallEngineRuntime();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const auto root = nlohmann::json::parse(data, data + size, nullptr, false);
  if (root.is_discarded()) return 0;
  ConfigHelper::ReadMysqlConfig(root);
  auto config = std::make_unique<ConfigHelper::ShopConfigData>();
  ConfigHelper::ReadShopConfig(root, *config);
  for (const auto& packet : config->ShopPackets) {
    const auto cp = PacketHelper::ParsePacketString(packet.PacketName, false, -1, *config);
    PacketHelper::BuildPacketString(cp);
  }
  for (const auto& reward : config->RewardPackets) PacketHelper::ParsePacketString(reward.Name, true, reward.Id, *config);
  return 0;
}
