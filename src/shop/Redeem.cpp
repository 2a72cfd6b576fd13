// Held packets: the list the mod shows, and redeeming one. The database hands
// out at most what is held; the continuation delivers what it handed out, parsed
// again from the stored key, and gives units back that cannot be delivered.
#include <memory>

#include <fmt/args.h>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/WeakObjectPtr.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/GameState.h"
#include "modcomm/ModEvents.h"
#include "modcomm/PacketViews.h"
#include "modcomm/PlayerMessages.h"
#include "modcomm/SendQueues.h"
#include "shop/Cooldowns.h"
#include "shop/Eligibility.h"
#include "shop/InFlight.h"
#include "shop/PacketDelivery.h"
#include "shop/PacketHelper.h"
#include "shop/PointsFirst.h"
#include "shop/RedeemViews.h"
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

void GiveBack(const RedeemRequest& request, int32_t units) {
  TandorShop::Pool().PostTask(PoolTask::MakeJob([request, units] {
    DBHelper::changeRedeemAmount(request.EosId, request.StoredKey, units, request.IsReward);
  }));
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

// The units the database handed out: low 32 bits taken, high 32 bits left; -1 when none.
void RedeemDelivery(int64_t taken, const RedeemRequest& request, const Weak& weak) {
  InFlight::Scope operation(request.EosId);
  if (taken < 0) return;
  const int32_t deliver = static_cast<int32_t>(static_cast<uint32_t>(taken & 0xFFFFFFFF));
  const int32_t left = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(taken) >> 32));
  if (deliver < 1) return;
  // The configuration may have been read again since the request, and reward ids
  // renumbered: parse the key anew, finding the packet by the name it holds.
  const ConstructedPacket cp = PacketHelper::ParsePacketString(request.StoredKey, false, -1);
  AShooterPlayerController* sender = weak.Get();
  UPrimalInventoryComponent* inventory = PacketDelivery::LivingInventory(sender);
  if (cp.Packet == nullptr || inventory == nullptr) return GiveBack(request, deliver);

  const PacketDelivery::Delivered delivered = PacketDelivery::DeliverUnits(cp, sender, inventory, deliver);
  if (delivered.Units > 0 && cp.Packet->ServerCooldown > 0)
    Cooldowns::AppendServerCooldown(cp.Packet->PacketName, Clock::NowUnix());
  TellRedeemer(sender, cp, left);
}

void PostRedeem(AShooterPlayerController* sender, const ConstructedPacket& cp, const RedeemRequest& request) {
  const ConfigHelper::ConfigShopPacket& packet = *cp.Packet;
  ModComm::PlayerServerInfo info{request.EosId, ModComm::PlayerLabel(sender), ModComm::SessionName()};
  auto taken = std::make_shared<int64_t>(-1);
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [taken, info, key = request.StoredKey, descr = packet.Description, amount = cp.Amount,
       cooldownName = packet.PlayerCooldown >= 1 ? packet.PacketName : FString()](ArkTandor_AsyncTaskResults&) {
        *taken = DBHelper::redeemPacket(info, key, descr, amount, cooldownName);
      },
      [taken, request, weak = Weak(sender)](ArkTandor_AsyncTaskResults) { RedeemDelivery(*taken, request, weak); }));
}

void RedeemContinuation(const std::shared_ptr<ModComm::DB_PlayerPointsWithCds>& record, const Weak& weak,
                        const FString& eosId, const FString& packetString, int32_t rewardId, bool allVariants) {
  InFlight::Scope operation(eosId);
  AShooterPlayerController* sender = weak.Get();
  if (!record || sender == nullptr || PacketDelivery::LivingInventory(sender) == nullptr) return;
  ConstructedPacket cp = PacketHelper::ParsePacketString(packetString, false, rewardId);
  if (allVariants) cp.AllVariants = true;
  if (cp.Packet == nullptr || cp.Amount < 1) return;
  const int32_t gameTime = ModComm::GetServerGameTime();
  if (gameTime == -1 || !Eligibility::IsPacketAvailable(eosId, cp.Packet, gameTime, sender)) return;
  const int64_t now = Clock::NowUnix();
  if (Cooldowns::IsOnPlayerCooldown(now, record->Cooldowns, cp.Packet)) return;
  if (Cooldowns::IsOnServerCooldown(now, cp.Packet)) return;
  const RedeemRequest request{eosId, PacketHelper::BuildPacketString(cp), cp.RewardId, cp.IsReward};
  PostRedeem(sender, cp, request);
  operation.HandOn();
}

}  // namespace

void HandleRedeemList(AShooterPlayerController* sender) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [eosId](ArkTandor_AsyncTaskResults& results) { DBHelper::loadRedeemList(results, eosId); },
      [weak = Weak(sender)](ArkTandor_AsyncTaskResults results) { RedeemListContinuation(results, weak); }));
}

void HandleRedeem(AShooterPlayerController* sender, const FString& packetString, int32_t rewardId, bool allVariants) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  BeginWithPointsAndCooldowns(
      eosId, [weak = Weak(sender), eosId, packetString, rewardId, allVariants](const PointsRecord& record) {
        RedeemContinuation(record, weak, eosId, packetString, rewardId, allVariants);
      });
}

}  // namespace TandorShop::ShopRequests
