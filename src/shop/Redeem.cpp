// Held packets: the list the mod shows, and redeeming one. The database hands
// out at most what is held, with a log row; the continuation delivers what it
// handed out, parsed again from the stored key, and gives back the units that did
// not arrive (they leave the log row too). Only what arrived is told.
#include <functional>
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
#include "modcomm/PacketViews.h"
#include "modcomm/PlayerMessages.h"
#include "modcomm/SendQueues.h"
#include "notify/DiscordHelper.h"
#include "shop/Cooldowns.h"
#include "shop/Eligibility.h"
#include "shop/InFlight.h"
#include "shop/PacketDelivery.h"
#include "shop/PacketHelper.h"
#include "shop/RedeemViews.h"
#include "shop/Settlements.h"
#include "shop/ShopRequests.h"

namespace TandorShop::ShopRequests {
namespace {

using Weak = TWeakObjectPtr<AShooterPlayerController>;
using PacketHelper::ConstructedPacket;

// What a redeem request asked for, kept by value until its units arrive.
struct RedeemRequest {
  FString EosId;
  FString StoredKey;  // the held row's key
  int32_t RewardId = -1;
  bool IsReward = false;
  Cooldowns::HeldServerCooldown ServerCooldown;
  std::string OpId;               // the take's operation id, made before it was sent
  DBHelper::DBSettings Database;  // the database it was taken on, where it is settled
};

void RedeemListContinuation(const ArkTandor_AsyncTaskResults& results, const Weak& weak) {
  AShooterPlayerController* sender = weak.Get();
  if (sender == nullptr) return;
  const FString eosId = sender->GetUniqueNetIdAsString();
  const int32_t gameTime = ModComm::GetServerGameTime();
  const TArray<int32_t>* amounts = results.Lists.Num() > 0 ? &results.Lists[0] : nullptr;
  TArray<ModComm::RedeemView> views;
  for (int32_t k = 0; k < results.Texts.Num(); ++k) {
    const ConstructedPacket cp = PacketHelper::ParsePacketString(results.Texts[k], false, -1);
    if (cp.Packet == nullptr || gameTime == -1) continue;
    if (!Eligibility::IsPacketAvailable(eosId, cp.Packet, gameTime, sender)) continue;
    const int32_t amount = amounts != nullptr && k < amounts->Num() ? (*amounts)[k] : 0;
    views.Add(RedeemViews::ViewOf(cp, amount));
  }
  ModComm::QueueBatches(ModComm::Lists().Redeem, sender, views);
}

void TellRedeemer(AShooterPlayerController* sender, const ConstructedPacket& cp, int32_t left) {
  ModComm::RedeemUpdateBlock block{left, cp.Packet->Id, cp.RewardId};
  ModComm::SendToPlayerBuff(sender, ModComm::BuffEvent::UpdateRedeem, block);
  fmt::dynamic_format_arg_store<fmt::format_context> args;
  args.push_back(fmt::arg("name", cp.Packet->Description.ToUtf8()));
  ModComm::SendPlayerMessage(sender,
                             ModComm::FormatMessage("RedeemPacket", ConfigHelper::ShopConfig().Messages.RedeemPacket,
                                                    ConfigHelper::ConfigMessages{}.RedeemPacket, args));
}

// What the database handed out for a redeem: the units taken with their log row.
struct Taken {
  int64_t Packed = -1;  // low 32 bits taken, high 32 bits left; -1 when none
  bool Unknown = false;  // the answer to its commit was lost: settled by its id
  DBHelper::ShopLogRecord Written;
};

// Records what arrived and gives back the units that did not, until it lands (the
// database holds what the redeem took until then).
void Settle(const RedeemRequest& request, int32_t delivered, std::function<void()> afterFirstTry,
            std::function<void()> whenLanded) {
  Settlements::Post(
      fmt::format("redeem {} of '{}' by eosId {}: {} units arrived, the rest to give back", request.OpId,
                  request.StoredKey.ToUtf8(), DBHelper::ToNarrow(request.EosId), delivered),
      [database = request.Database, opId = request.OpId, delivered] {
        switch (DBHelper::settleOperation(database, opId, delivered, std::nullopt)) {
          case DBHelper::SettleResult::Settled:
          case DBHelper::SettleResult::NothingOwed: return Settlements::Outcome::Landed;
          case DBHelper::SettleResult::GivenUp: return Settlements::Outcome::GivenUp;
          case DBHelper::SettleResult::Failed: break;
        }
        return Settlements::Outcome::Failed;
      },
      std::move(afterFirstTry), std::move(whenLanded));
}

void RedeemDelivery(const Taken& taken, const RedeemRequest& request, const Weak& weak) {
  InFlight::Scope operation(request.EosId);
  const FString eosId = request.EosId;
  if (taken.Unknown) {
    Cooldowns::GiveBack(request.ServerCooldown);
    Settle(request, 0, [eosId] { InFlight::End(eosId); }, {});
    return operation.HandOn();
  }
  const int32_t deliver =
      taken.Packed < 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(taken.Packed & 0xFFFFFFFF));
  const int32_t left = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(taken.Packed) >> 32));
  if (deliver < 1) return Cooldowns::GiveBack(request.ServerCooldown);  // nothing held, on cooldown, or failed
  // The configuration may have been read again since the request, and reward ids
  // renumbered: parse the key anew, finding the packet by the name it holds.
  const ConstructedPacket cp = PacketHelper::ParsePacketString(request.StoredKey, false, -1);
  AShooterPlayerController* sender = weak.Get();
  UPrimalInventoryComponent* inventory = PacketDelivery::LivingInventory(sender);
  PacketDelivery::Delivered delivered;
  if (cp.Packet != nullptr && inventory != nullptr)
    delivered = PacketDelivery::DeliverUnits(cp, sender, inventory, deliver);
  const int32_t missing = deliver - delivered.Units;
  if (delivered.Units < 1) {
    Cooldowns::GiveBack(request.ServerCooldown);  // nothing arrived: nobody told
    Settle(request, 0, [eosId] { InFlight::End(eosId); }, {});
    return operation.HandOn();
  }
  DBHelper::ShopLogRecord told = taken.Written;
  told.amount = delivered.Units;
  told.redeemsLeft = left + missing;
  auto tell = [told, weak, key = request.StoredKey] {
    DiscordHelper::sendRedeem(told);
    const ConstructedPacket now = PacketHelper::ParsePacketString(key, false, -1);
    AShooterPlayerController* redeemer = weak.Get();
    if (redeemer != nullptr && now.Packet != nullptr) TellRedeemer(redeemer, now, told.redeemsLeft);
  };
  if (missing < 1) {
    Settle(request, delivered.Units, {}, {});  // only the record that everything arrived
    return tell();
  }
  Settle(request, delivered.Units, [eosId] { InFlight::End(eosId); }, tell);
  operation.HandOn();
}

void PostRedeem(AShooterPlayerController* sender, const ConstructedPacket& cp, const RedeemRequest& request) {
  const ConfigHelper::ConfigShopPacket& packet = *cp.Packet;
  ModComm::PlayerServerInfo info{request.EosId, ModComm::PlayerLabel(sender), ModComm::SessionName()};
  auto taken = std::make_shared<Taken>();
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [taken, info, key = request.StoredKey, descr = packet.Description, amount = cp.Amount,
       cooldownName = packet.PlayerCooldown >= 1 ? packet.PacketName : FString(),
       cooldownSeconds = packet.PlayerCooldown, opId = request.OpId](ArkTandor_AsyncTaskResults&) {
        if (Unloading.load()) return;  // no delivery would follow
        taken->Packed = DBHelper::redeemPacket(info, key, descr, amount, cooldownName, &taken->Written,
                                               cooldownSeconds, opId, &taken->Unknown);
      },
      [taken, request, weak = Weak(sender)](ArkTandor_AsyncTaskResults) { RedeemDelivery(*taken, request, weak); }));
}

}  // namespace

// Checked on the game thread with what it holds there; the player's cooldown is
// checked in the redeem's transaction.
void HandleRedeem(AShooterPlayerController* sender, const FString& packetString, int32_t rewardId, bool allVariants) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  if (!InFlight::Begin(eosId)) return;  // one operation of a player at a time
  InFlight::Scope operation(eosId);
  if (PacketDelivery::LivingInventory(sender) == nullptr) return;
  ConstructedPacket cp = PacketHelper::ParsePacketString(packetString, false, rewardId);
  if (allVariants) cp.AllVariants = true;
  if (cp.Packet == nullptr || cp.Amount < 1) return;
  const int32_t gameTime = ModComm::GetServerGameTime();
  if (gameTime == -1 || !Eligibility::IsPacketAvailable(eosId, cp.Packet, gameTime, sender)) return;
  const int64_t now = Clock::NowUnix();
  if (Cooldowns::IsOnServerCooldown(now, cp.Packet)) return;
  const RedeemRequest request{eosId,
                              PacketHelper::BuildPacketString(cp),
                              cp.RewardId,
                              cp.IsReward,
                              Cooldowns::HoldServerCooldown(*cp.Packet, now),
                              DBHelper::NewOperationId(),
                              DBHelper::Settings()};
  PostRedeem(sender, cp, request);
  operation.HandOn();
}

void HandleRedeemList(AShooterPlayerController* sender) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [eosId](ArkTandor_AsyncTaskResults& results) { DBHelper::loadRedeemList(results, eosId); },
      [weak = Weak(sender)](ArkTandor_AsyncTaskResults results) { RedeemListContinuation(results, weak); }));
}

}  // namespace TandorShop::ShopRequests
