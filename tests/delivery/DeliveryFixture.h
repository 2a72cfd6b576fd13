#pragma once
// A running simulated server with one player, item and creature classes of the
// simulated game, and a catalogue read by the plugin's own reader, so that the
// delivery operations can be driven with real catalogue variants.
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "config/ShopConfig.h"
#include "config/ShopConfigReader.h"
#include "core/Log.h"
#include "sim/world/GameModel.h"
#include "testsupport/ServerFixture.h"

namespace deliverytest {

inline const std::string ResourcePath = "Blueprint'/Game/Items/Resources/Wood.Wood'";
inline const std::string WeaponPath = "Blueprint'/Game/Items/Weapons/Sword.Sword'";
inline const std::string ArmorPath = "Blueprint'/Game/Items/Armor/Flak.Flak'";
inline const std::string SaddlePath = "Blueprint'/Game/Items/Saddles/RexSaddle.RexSaddle'";
inline const std::string RexPath = "Blueprint'/Game/Dinos/Rex/Rex_Character_BP.Rex_Character_BP'";

// Stat infos of the test item classes: damage scale 0.1 and range 1; armor base
// 10, durability base 100, insulation base 5, each with scale 0.001 and range 1.
inline std::array<sim::SimItemStatInfo, 8> TestStats() {
  std::array<sim::SimItemStatInfo, 8> stats{};
  for (auto& info : stats) {
    info.InitialValueConstant = 5.0f;
    info.StateModifierScale = 0.001f;
    info.RandomizerRangeMultiplier = 1.0f;
  }
  stats[1].InitialValueConstant = 10.0f;
  stats[2].InitialValueConstant = 100.0f;
  stats[3].InitialValueConstant = 100.0f;
  stats[3].StateModifierScale = 0.1f;
  return stats;
}

class DeliveryTest : public ::testing::Test {
 protected:
  DeliveryTest() {
    TandorShop::CreateLogger();
    sim::PlayerSpec spec = sim::PlayerSpec::Of("EOS-Player-1", "Bob");
    spec.LinkedPlayerId = 987654321012ull;
    spec.TribeId = 1234567;
    player = &Server().JoinPlayer(spec);
    resource = AddItemClass(ResourcePath, 0);
    weapon = AddItemClass(WeaponPath, 1);
    armor = AddItemClass(ArmorPath, 2);
    saddle = AddItemClass(SaddlePath, 6);
    cryopod = AddItemClass(ConfigHelper::DefaultCryoPodPath, 1);
  }
  ~DeliveryTest() override {
    ConfigHelper::ClearShopConfig(ConfigHelper::ShopConfig());
    TandorShop::DestroyLogger();
  }

  sim::Server& Server() { return fixture.Server(); }
  sim::GameModel& Model() { return Server().Model(); }
  sim::SimInventory* SimInventory() { return player->Character->Inventory; }
  UPrimalInventoryComponent* Inventory() { return reinterpret_cast<UPrimalInventoryComponent*>(SimInventory()); }
  AShooterPlayerController* Controller() { return player->AsController(); }

  static sim::SimClass* AddItemClass(const std::string& path, uint8_t type, int32_t maxStack = 100) {
    sim::ItemClassSpec spec;
    spec.Path = path;
    spec.ItemType = type;
    spec.MaxStack = maxStack;
    spec.Stats = TestStats();
    return sim::ItemClasses::Add(spec);
  }

  // Reads a catalogue of one packet "P" with the given items, dinos and commands.
  void ReadShop(const nlohmann::json& packet, const nlohmann::json& general = nlohmann::json::object()) {
    nlohmann::json generalSection = {{"ShopName", "Test Shop"}, {"ShopKey", "F3"}};
    generalSection.update(general);
    nlohmann::json shopPacket = {{"ShopCategory", "C"}, {"PacketName", "P"}, {"Price", 10}};
    shopPacket.update(packet);
    const nlohmann::json root = {{"General", generalSection},
                                 {"ShopCategories", {{{"Name", "C"}}}},
                                 {"ShopPackets", {shopPacket}}};
    ConfigHelper::ReadShopConfig(root, ConfigHelper::ShopConfig());
    ASSERT_EQ(ConfigHelper::ShopConfig().ShopPackets.Num(), 1);
  }
  ConfigHelper::ConfigShopPacket& Packet() { return ConfigHelper::ShopConfig().ShopPackets[0]; }

  bool LogHas(const std::string& text) { return fixture.Server().LogContains(text); }

  testsupport::ServerFixture fixture;
  sim::SimPlayer* player = nullptr;
  sim::SimClass* resource = nullptr;
  sim::SimClass* weapon = nullptr;
  sim::SimClass* armor = nullptr;
  sim::SimClass* saddle = nullptr;
  sim::SimClass* cryopod = nullptr;
};

}  // namespace deliverytest
