// Buying a packet: the request reads the player's points and cooldowns; the
// continuation checks, delivers, and posts the charge with its log row.
#include <memory>
#include <optional>

#include <fmt/args.h>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/WeakObjectPtr.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/GameState.h"
#include "modcomm/ModEvents.h"
#include "modcomm/PlayerMessages.h"
#include "shop/Cooldowns.h"
#include "shop/Eligibility.h"
#include "shop/InFlight.h"
#include "shop/PacketDelivery.h"
#include "shop/PointsFirst.h"
#include "shop/PacketHelper.h"
#include "shop/Pricing.h"
#include "shop/ShopRequests.h"

namespace TandorShop::ShopRequests {
namespace {

using Weak = TWeakObjectPtr<AShooterPlayerController>;
using PacketHelper::ConstructedPacket;

struct PricedPurchase {
  ConstructedPacket Packet;
  double Discount = 0.0;
};

// Every check before anything is delivered; nullopt refuses the purchase.
std::optional<PricedPurchase> CheckPurchase(const ModComm::DB_PlayerPointsWithCds& record,
                                            AShooterPlayerController* sender, const FString& eosId,
                                            const FString& packetString, int64_t now) {
  ConstructedPacket cp = PacketHelper::ParsePacketString(packetString, true, -1);
  const ConfigHelper::ConfigShopPacket* packet = cp.Packet;
  if (packet == nullptr || packet->HideFromBuy) return std::nullopt;
  if (!PriceHelper::AmountAllowed(cp.Amount, packet->MaxPurchaseSameTime)) return std::nullopt;
  if (!Eligibility::IsPacketAvailable(eosId, packet, ModComm::GetServerGameTime(), sender)) return std::nullopt;
  if (Cooldowns::IsOnPlayerCooldown(now, record.Cooldowns, packet)) return std::nullopt;
  if (Cooldowns::IsOnServerCooldown(now, packet)) return std::nullopt;
  const double discount = Eligibility::PlayerDiscount(eosId);
  const std::optional<int32_t> need =
      PriceHelper::PurchaseNeed(PriceHelper::UnitPrice(cp), cp.Amount, discount, packet->ExcludeFromDiscount);
  if (!need || record.points < *need) return std::nullopt;
  return PricedPurchase{std::move(cp), discount};
}

void TellBuyer(AShooterPlayerController* sender, int32_t charge, const ConfigHelper::ConfigShopPacket& packet) {
  int32_t change = -charge;
  ModComm::SendToPlayerBuff(sender, ModComm::BuffEvent::UpdatePoints, change);
  fmt::dynamic_format_arg_store<fmt::format_context> args;
  args.push_back(fmt::arg("price", charge));
  args.push_back(fmt::arg("name", packet.Description.ToUtf8()));
  ModComm::SendPlayerMessage(sender, ModComm::FormatMessage("BoughtItem", ConfigHelper::ShopConfig().Messages.BoughtItem,
                                                            ConfigHelper::ConfigMessages{}.BoughtItem, args));
}

// Posts the charge, the player cooldown and the log row; the player's operation
// ends when the write has finished, so their next request reads the new balance.
void PostPurchaseRecord(AShooterPlayerController* sender, const FString& eosId, const ConstructedPacket& cp,
                        int32_t charge) {
  const ConfigHelper::ConfigShopPacket& packet = *cp.Packet;
  ModComm::PlayerServerInfo info{eosId, ModComm::PlayerLabel(sender), ModComm::SessionName()};
  const bool keyed = packet.PlayerCooldown >= 1;
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [info, change = -charge, packetStr = PacketHelper::BuildPacketString(cp), descr = packet.Description,
       amount = cp.Amount, cooldownName = keyed ? packet.PacketName : FString(), keyed](ArkTandor_AsyncTaskResults&) {
        DBHelper::buyPacket(info, change, packetStr, descr, amount, cooldownName, keyed);
      },
      [eosId](ArkTandor_AsyncTaskResults) { InFlight::End(eosId); }));
}

void BuyContinuation(const std::shared_ptr<ModComm::DB_PlayerPointsWithCds>& record, const FString& packetString,
                     const Weak& weak, const FString& eosId) {
  InFlight::Scope operation(eosId);
  AShooterPlayerController* sender = weak.Get();
  if (!record || sender == nullptr) return;
  UPrimalInventoryComponent* inventory = PacketDelivery::LivingInventory(sender);
  if (inventory == nullptr) return;
  const int64_t now = Clock::NowUnix();
  std::optional<PricedPurchase> purchase = CheckPurchase(*record, sender, eosId, packetString, now);
  if (!purchase) return;
  const ConstructedPacket& cp = purchase->Packet;
  const ConfigHelper::ConfigShopPacket& packet = *cp.Packet;

  const PacketDelivery::Delivered delivered = PacketDelivery::DeliverUnits(cp, sender, inventory, cp.Amount);
  if (delivered.Units < 1) return;  // nothing arrived: no charge, no cooldown, no log row
  const int32_t charge = PriceHelper::FinalCharge(delivered.Charge, purchase->Discount, packet.ExcludeFromDiscount);
  if (packet.ServerCooldown > 0) Cooldowns::AppendServerCooldown(packet.PacketName, now);
  PostPurchaseRecord(sender, eosId, cp, charge);
  operation.HandOn();
  TellBuyer(sender, charge, packet);
}

}  // namespace

void HandleBuy(AShooterPlayerController* sender, const FString& packetString) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  BeginWithPointsAndCooldowns(eosId, [packetString, weak = Weak(sender), eosId](const PointsRecord& record) {
    BuyContinuation(record, packetString, weak, eosId);
  });
}

}  // namespace TandorShop::ShopRequests
