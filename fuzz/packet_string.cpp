// libFuzzer target: ParsePacketString on arbitrary text, in both modes and with
// a reward id, then the stored form parsed back by name.
//
// Checks beyond "does not crash": every selected variant belongs to the entry it
// is paired with, and a built string parses by name to the same selection.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <nlohmann/json.hpp>

#include "FuzzShop.h"
#include "config/CatalogueReader.h"
#include "shop/PacketHelper.h"
#include "sim/engine/EngineRuntime.h"

namespace {

using PacketHelper::ConstructedPacket;

const ConfigHelper::ConfigCatalogue& Catalogue() {
  static const auto* catalogue = [] {
    sim::InstallEngineRuntime();
    auto* c = new ConfigHelper::ConfigCatalogue();  // lives for the whole run
    ConfigHelper::ReadCatalogue(nlohmann::json::parse(FuzzShopJson), *c);
    return c;
  }();
  return *catalogue;
}

void CheckPaired(const ConstructedPacket& cp) {
  if (cp.ItemGroups.size() != cp.ItemVariants.size() || cp.DinoGroups.size() != cp.DinoVariants.size() ||
      cp.CommandGroups.size() != cp.CommandVariants.size())
    __builtin_trap();
  for (std::size_t k = 0; k < cp.ItemGroups.size(); ++k)
    if (cp.ItemVariants[k]->ItemId != cp.ItemGroups[k]->Id) __builtin_trap();
  for (std::size_t k = 0; k < cp.DinoGroups.size(); ++k)
    if (cp.DinoVariants[k]->DinoId != cp.DinoGroups[k]->Id) __builtin_trap();
  for (std::size_t k = 0; k < cp.CommandGroups.size(); ++k)
    if (cp.CommandVariants[k]->CommandId != cp.CommandGroups[k]->Id) __builtin_trap();
}

void CheckRoundTrip(const ConstructedPacket& cp, const ConfigHelper::ConfigCatalogue& catalogue) {
  const FString stored = PacketHelper::BuildPacketString(cp);
  // Rewards are stored by name alone and stand for the whole packet.
  if (cp.Packet == nullptr || cp.PacketName.IsEmpty() || cp.IsReward) return;
  const ConstructedPacket again = PacketHelper::ParsePacketString(stored, false, -1, catalogue);
  CheckPaired(again);
  if (again.Packet != cp.Packet || again.Amount != 1) __builtin_trap();
  if (again.ItemVariants != cp.ItemVariants || again.DinoVariants != cp.DinoVariants ||
      again.CommandVariants != cp.CommandVariants)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const auto& catalogue = Catalogue();
  const FString text = FString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const bool byId : {true, false}) {
    const ConstructedPacket cp = PacketHelper::ParsePacketString(text, byId, -1, catalogue);
    CheckPaired(cp);
    CheckRoundTrip(cp, catalogue);
  }
  const int32_t rewardId = size > 0 ? static_cast<int32_t>(data[0] % 3) - 1 : 0;
  const ConstructedPacket reward = PacketHelper::ParsePacketString(text, true, rewardId, catalogue);
  CheckPaired(reward);
  PacketHelper::BuildPacketString(reward);
  return 0;
}
