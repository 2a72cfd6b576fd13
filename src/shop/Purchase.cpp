// Buying a packet: the request is checked on the game thread with what it holds
// there; one transaction on a worker checks the player's cooldown and charges
// every unit with its log row, only when the balance covers it; only when that
// committed are the goods delivered, and what did not arrive is given back.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include <fmt/format.h>

#include <fmt/args.h>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/WeakObjectPtr.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/PluginState.h"
#include "core/TextConversion.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/GameState.h"
#include "modcomm/ModEvents.h"
#include "modcomm/PlayerMessages.h"
#include "notify/DiscordHelper.h"
#include "shop/Cooldowns.h"
#include "shop/Eligibility.h"
#include "shop/InFlight.h"
#include "shop/PacketDelivery.h"
#include "shop/PacketHelper.h"
#include "shop/Pricing.h"
#include "shop/Settlements.h"
#include "shop/ShopRequests.h"

namespace TandorShop::ShopRequests {
namespace {

using Weak = TWeakObjectPtr<AShooterPlayerController>;
using PacketHelper::ConstructedPacket;

struct PricedPurchase {
  ConstructedPacket Packet;
  double Discount = 0.0;
  int32_t Charge = 0;  // for every unit, the discount taken off
};

// Every check the game thread can make; nullopt refuses the purchase. The
// player's cooldown and balance are checked in the charge's transaction.
std::optional<PricedPurchase> CheckPurchase(AShooterPlayerController* sender, const FString& eosId,
                                            const FString& packetString, int64_t now) {
  ConstructedPacket cp = PacketHelper::ParsePacketString(packetString, true, -1);
  const ConfigHelper::ConfigShopPacket* packet = cp.Packet;
  if (packet == nullptr || packet->HideFromBuy) return std::nullopt;
  if (!PriceHelper::AmountAllowed(cp.Amount, packet->MaxPurchaseSameTime)) return std::nullopt;
  if (!Eligibility::IsPacketAvailable(eosId, packet, ModComm::GetServerGameTime(), sender)) return std::nullopt;
  if (Cooldowns::IsOnServerCooldown(now, packet)) return std::nullopt;
  const double discount = Eligibility::PlayerDiscount(eosId);
  const std::optional<int32_t> need =
      PriceHelper::PurchaseNeed(PriceHelper::UnitPrice(cp), cp.Amount, discount, packet->ExcludeFromDiscount);
  if (!need) return std::nullopt;
  return PricedPurchase{std::move(cp), discount, *need};
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

// What a charged purchase needs after the charge: its log row and what to deliver.
// The selection is kept as the request's text, parsed again for the delivery: the
// configuration may have been read again in between.
struct ChargedPurchase {
  FString PacketString;
  int32_t Amount = 0;
  int64_t UnitPrice = 0;
  double Discount = 0.0;
  int32_t Charge = 0;
  DBHelper::CooldownBefore Cooldown;
  DBHelper::ShopLogRecord Written;
  Cooldowns::HeldServerCooldown ServerCooldown;
  std::string OpId;             // the charge's operation id, made before it was sent
  DBHelper::DBSettings Database;  // the database it was charged on, where it is settled
};

// The purchase as charged, or nothing (Packet null) when the packet changed since.
ConstructedPacket AsCharged(const ChargedPurchase& charged) {
  ConstructedPacket cp = PacketHelper::ParsePacketString(charged.PacketString, true, -1);
  if (cp.Packet == nullptr || cp.Amount != charged.Amount || PriceHelper::UnitPrice(cp) != charged.UnitPrice)
    cp.Packet = nullptr;
  return cp;
}

Settlements::Outcome AsOutcome(DBHelper::SettleResult result) {
  switch (result) {
    case DBHelper::SettleResult::Settled:
    case DBHelper::SettleResult::NothingOwed: return Settlements::Outcome::Landed;
    case DBHelper::SettleResult::GivenUp: return Settlements::Outcome::GivenUp;
    case DBHelper::SettleResult::Failed: break;
  }
  return Settlements::Outcome::Failed;
}

// Records what arrived and gives back what was charged for the rest, until it
// lands (the database holds what the charge owes until then).
void Settle(const ChargedPurchase& charged, int32_t delivered, int64_t refund, std::function<void()> afterFirstTry,
            std::function<void()> whenLanded) {
  Settlements::Post(
      fmt::format("purchase {} of {} x '{}' by eosId {}: {} of them arrived, {} points to give back", charged.OpId,
                  charged.Amount, charged.PacketString.ToUtf8(), DBHelper::ToNarrow(charged.Written.eosId),
                  delivered, refund),
      [database = charged.Database, opId = charged.OpId, delivered, refund] {
        return AsOutcome(DBHelper::settleOperation(database, opId, delivered, refund));
      },
      std::move(afterFirstTry), std::move(whenLanded));
}

// Second step, once the charge committed: deliver, give back what did not arrive,
// and tell the player and Discord what arrived and what it cost, once what was
// given back committed.
void DeliverCharged(const ChargedPurchase& charged, const Weak& weak, const FString& eosId) {
  InFlight::Scope operation(eosId);
  const ConstructedPacket cp = AsCharged(charged);
  AShooterPlayerController* sender = weak.Get();
  UPrimalInventoryComponent* inventory = PacketDelivery::LivingInventory(sender);
  PacketDelivery::Delivered delivered;
  if (inventory != nullptr && cp.Packet != nullptr)
    delivered = PacketDelivery::DeliverUnits(cp, sender, inventory, charged.Amount);
  const int32_t cost = delivered.Units < 1 ? 0
                                           : std::min(charged.Charge,
                                                      PriceHelper::FinalCharge(delivered.Charge, charged.Discount,
                                                                               cp.Packet->ExcludeFromDiscount));
  const int64_t refund = charged.Charge - cost;
  if (delivered.Units < 1) {
    Cooldowns::GiveBack(charged.ServerCooldown);  // everything goes back, nobody is told
    Settle(charged, 0, refund, [eosId] { InFlight::End(eosId); }, {});
    return operation.HandOn();
  }
  auto tell = [charged, cost, units = delivered.Units, weak, packet = cp.Packet] {
    DBHelper::ShopLogRecord told = charged.Written;
    told.amount = units;
    told.pointsChange = -static_cast<int64_t>(cost);
    told.newPoints += charged.Charge - cost;
    DiscordHelper::sendBuy(told);
    AShooterPlayerController* buyer = weak.Get();
    const ConfigHelper::ConfigShopPacket* now = PacketHelper::ParsePacketString(charged.PacketString, true, -1).Packet;
    if (buyer != nullptr && now != nullptr) TellBuyer(buyer, cost, *now);
  };
  if (refund == 0) {
    Settle(charged, delivered.Units, 0, {}, {});  // only the record that everything arrived
    return tell();
  }
  Settle(charged, delivered.Units, refund, [eosId] { InFlight::End(eosId); }, tell);
  operation.HandOn();
}

// Posts the charge for every unit; delivery follows only when it committed. The
// player's operation goes on until the delivery step has run. Refused (too few
// points, the player's cooldown) or failed: nothing delivered, nobody told. A
// charge whose outcome could not be learnt is settled as if nothing arrived.
void PostCharge(AShooterPlayerController* sender, const FString& eosId, const PricedPurchase& purchase,
                ChargedPurchase charge) {
  const ConstructedPacket& cp = purchase.Packet;
  const ConfigHelper::ConfigShopPacket& packet = *cp.Packet;
  ModComm::PlayerServerInfo info{eosId, ModComm::PlayerLabel(sender), ModComm::SessionName()};
  const bool keyed = packet.PlayerCooldown >= 1;
  charge.OpId = DBHelper::NewOperationId();
  charge.Database = DBHelper::Settings();
  auto charged = std::make_shared<ChargedPurchase>(std::move(charge));
  auto result = std::make_shared<DBHelper::ChargeResult>(DBHelper::ChargeResult::Failed);
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [info, charged, result, packetStr = PacketHelper::BuildPacketString(cp), descr = packet.Description,
       amount = cp.Amount, cooldownName = keyed ? packet.PacketName : FString(),
       cooldownSeconds = keyed ? packet.PlayerCooldown : 0](ArkTandor_AsyncTaskResults&) {
        if (Unloading.load()) return;  // no delivery would follow
        *result = DBHelper::chargePurchase(info, charged->Charge, packetStr, descr, amount, cooldownName,
                                           cooldownSeconds, charged->Written, charged->Cooldown, charged->OpId);
      },
      [charged, result, weak = Weak(sender), eosId](ArkTandor_AsyncTaskResults) {
        if (*result == DBHelper::ChargeResult::Charged) return DeliverCharged(*charged, weak, eosId);
        Cooldowns::GiveBack(charged->ServerCooldown);
        if (*result != DBHelper::ChargeResult::Unknown) return InFlight::End(eosId);
        Settle(*charged, 0, charged->Charge, [eosId] { InFlight::End(eosId); }, {});
      }));
}

}  // namespace

void HandleBuy(AShooterPlayerController* sender, const FString& packetString) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  if (!InFlight::Begin(eosId)) return;  // one operation of a player at a time
  InFlight::Scope operation(eosId);
  if (PacketDelivery::LivingInventory(sender) == nullptr) return;
  const int64_t now = Clock::NowUnix();
  std::optional<PricedPurchase> purchase = CheckPurchase(sender, eosId, packetString, now);
  if (!purchase) return;
  const ConstructedPacket& cp = purchase->Packet;
  ChargedPurchase charged{packetString, cp.Amount, PriceHelper::UnitPrice(cp), purchase->Discount, purchase->Charge,
                          {}, {}, Cooldowns::HoldServerCooldown(*cp.Packet, now), {}, {}};
  PostCharge(sender, eosId, *purchase, std::move(charged));
  operation.HandOn();
}

}  // namespace TandorShop::ShopRequests
