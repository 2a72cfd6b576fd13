// Sending points to another player: the recipient list and the transfer, which
// one database task checks and carries out.
#include <memory>

#include <fmt/args.h>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UWorld.h"
#include "AsaApi/WeakObjectPtr.h"
#include "config/ShopConfig.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/ModEvents.h"
#include "modcomm/PlayerMessages.h"
#include "modcomm/SendQueues.h"
#include "notify/DiscordHelper.h"
#include "shop/GroupMembership.h"
#include "shop/InFlight.h"
#include "shop/ShopRequests.h"
#include "shop/TradeText.h"

namespace TandorShop::ShopRequests {
namespace {

using Weak = TWeakObjectPtr<AShooterPlayerController>;

// Who may receive points from players: everybody seen in the last 14 days.
constexpr int32_t kTradeTargetSpanSeconds = 1209600;

TArray<FString> OnlineEosIds() {
  TArray<FString> ids;
  UWorld* world = AsaApi::GetApiUtils().GetWorld();
  if (world == nullptr) return ids;
  for (const auto& weak : world->PlayerControllerListField()) {
    auto* controller = reinterpret_cast<AShooterPlayerController*>(weak.Get());
    if (controller != nullptr) ids.Add(controller->GetUniqueNetIdAsString());
  }
  return ids;
}

bool HiddenFromTrade(const FString& eosId) {
  for (const FString& group : ConfigHelper::ShopConfig().GroupsHiddenFromTrade)
    if (GroupMembership::IsPlayerInGroup(eosId, group)) return true;
  return false;
}

void TradeTargetsContinuation(const std::shared_ptr<TArray<ModComm::A_TradeTarget>>& targets, const Weak& weak) {
  AShooterPlayerController* sender = weak.Get();
  if (!targets || sender == nullptr) return;
  const FString eosId = sender->GetUniqueNetIdAsString();
  const TArray<FString> online = OnlineEosIds();
  TArray<ModComm::A_TradeTarget> shown;
  for (const ModComm::A_TradeTarget& target : *targets) {
    if (target.EosId.Equals(eosId, true) || HiddenFromTrade(target.EosId)) continue;
    ModComm::A_TradeTarget copy = target;
    copy.IsOnline = online.FindByPredicate([&](const FString& id) { return id.Equals(target.EosId, true); }) != nullptr;
    shown.Add(std::move(copy));
  }
  ModComm::QueueBatches(ModComm::Lists().TradeTargets, sender, shown);
}

void SendFormatted(AShooterPlayerController* to, const char* name, const std::string& configured,
                   const std::string& fallback, const std::string& who, int32_t amount) {
  fmt::dynamic_format_arg_store<fmt::format_context> args;
  args.push_back(fmt::arg("name", who));
  args.push_back(fmt::arg("amount", amount));
  ModComm::SendPlayerMessage(to, ModComm::FormatMessage(name, configured, fallback, args));
}

void TradeContinuation(int32_t code, const FString& senderId, const TradeText::Recipient& recipient, int32_t amount,
                       const Weak& weak) {
  InFlight::Scope operation(senderId);
  AShooterPlayerController* sender = weak.Get();
  if (code != DBHelper::kTradeDone || sender == nullptr) return;
  const auto& messages = ConfigHelper::ShopConfig().Messages;
  const ConfigHelper::ConfigMessages defaults;
  int32_t sent = -amount;
  ModComm::SendToPlayerBuff(sender, ModComm::BuffEvent::UpdatePoints, sent);
  SendFormatted(sender, "SendPoints", messages.SendPoints, defaults.SendPoints, recipient.Display.ToUtf8(), amount);
  AShooterPlayerController* receiver = AsaApi::GetApiUtils().FindPlayerFromEOSID(recipient.EosId);
  if (receiver == nullptr) return;
  int32_t received = amount;
  ModComm::SendToPlayerBuff(receiver, ModComm::BuffEvent::UpdatePoints, received);
  SendFormatted(receiver, "GotTradePoints", messages.GotTradePoints, defaults.GotTradePoints,
                sender->GetPlayerCharacterName().ToUtf8(), amount);
}

}  // namespace

void HandleTradeTargets(AShooterPlayerController* sender) {
  auto targets = std::make_shared<TArray<ModComm::A_TradeTarget>>();
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [targets](ArkTandor_AsyncTaskResults&) { DBHelper::loadTradeTargets(*targets, kTradeTargetSpanSeconds); },
      [targets, weak = Weak(sender)](ArkTandor_AsyncTaskResults) { TradeTargetsContinuation(targets, weak); }));
}

void HandleTrade(AShooterPlayerController* sender, const FString& target, int32_t amount) {
  if (amount < 1) return;
  const FString senderId = sender->GetUniqueNetIdAsString();
  const std::optional<TradeText::Recipient> recipient = TradeText::SplitTarget(target);
  if (!recipient) return;
  if (!InFlight::Begin(senderId)) return;
  InFlight::Scope operation(senderId);
  const FString senderName = TradeText::TradeName(sender->GetPlayerCharacterName(), ModComm::TribeNameOf(sender));
  auto code = std::make_shared<int32_t>(DBHelper::kTradeTooFewPoints);
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [code, senderId, senderName, recipient = *recipient, amount](ArkTandor_AsyncTaskResults&) {
        DBHelper::TradeLogRecord written;
        *code = DBHelper::tradePoints(senderId, senderName, recipient.EosId, recipient.Display, amount, &written);
        if (*code == DBHelper::kTradeDone) DiscordHelper::sendTrade(written);  // told once it committed
      },
      [code, senderId, recipient = *recipient, amount, weak = Weak(sender)](ArkTandor_AsyncTaskResults) {
        TradeContinuation(*code, senderId, recipient, amount, weak);
      }));
  operation.HandOn();
}

}  // namespace TandorShop::ShopRequests
