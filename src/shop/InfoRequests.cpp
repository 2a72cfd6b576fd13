#include "shop/InfoRequests.h"

#include <memory>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/WeakObjectPtr.h"
#include "config/ShopConfig.h"
#include "core/PluginState.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "modcomm/GameAssets.h"
#include "modcomm/ModEvents.h"
#include "modcomm/ModMessages.h"
#include "modcomm/PacketViews.h"
#include "modcomm/SendQueues.h"
#include "shop/Cooldowns.h"
#include "shop/Eligibility.h"
#include "shop/GroupMembership.h"
#include "shop/Pricing.h"

namespace TandorShop::ShopRequests {
using namespace ::ModComm;
namespace {

using Weak = TWeakObjectPtr<AShooterPlayerController>;

TArray<CategoryView> CategoriesFor(const FString& eosId) {
  const auto& config = ConfigHelper::ShopConfig();
  TArray<CategoryView> shown;
  for (int32_t i = 0; i < config.ShopCategories.Num() && i < CategoryViews().Num(); ++i) {
    const auto& category = config.ShopCategories[i];
    if (!Eligibility::PassesGroupFilter(eosId, category.ExcludeGroups, category.IncludeGroups)) continue;
    CategoryView view = CategoryViews()[i];
    view.Icon = LoadTexture(category.IconOverride.Path);
    shown.Add(std::move(view));
  }
  return shown;
}

void AddExtraOptions(OpenShopBlock& block) {
  const auto& config = ConfigHelper::ShopConfig();
  for (const auto& gacha : config.GachaResources) {
    GachaView view;
    view.DinoVariantId = gacha.DinoVariantId;
    for (const auto& resource : gacha.Resources)
      view.Resources.Add(GachaResourceView{LoadClass(resource.Item.Path), resource.Amount});
    block.GachaSets.Add(std::move(view));
  }
  for (const auto& stryder : config.StryderItems)
    block.StryderSets.Add(
        StryderView{LoadClass(stryder.HeadItem.Path), LoadClass(stryder.BodyItem.Path), stryder.DinoVariantId});
}

void OpenShopContinuation(const std::shared_ptr<DB_PlayerPointsWithCds>& record, const Weak& weak) {
  AShooterPlayerController* sender = weak.Get();
  if (!record || sender == nullptr) return;
  const FString eosId = sender->GetUniqueNetIdAsString();
  OpenShopBlock block;
  block.PlayerCooldowns = TandorShop::Cooldowns::PlayerCooldownPairs(record->Cooldowns);
  TandorShop::Cooldowns::LoadServerCooldowns(block.ServerCooldowns);
  block.Points = record->points;
  block.Categories = CategoriesFor(eosId);
  AddExtraOptions(block);
  block.PassivePoints = Eligibility::PassivePointsOf(eosId);
  SendToPlayerBuff(sender, BuffEvent::OpenShop, block);
}

template <typename Entry>
void PostLogRequest(AShooterPlayerController* sender, void (*load)(TArray<Entry>&, const FString&),
                    ModSendList<Entry>& list) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  auto entries = std::make_shared<TArray<Entry>>();
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [entries, eosId, load](ArkTandor_AsyncTaskResults&) { load(*entries, eosId); },
      [entries, weak = Weak(sender), &list](ArkTandor_AsyncTaskResults) {
        AShooterPlayerController* player = weak.Get();
        if (!entries || player == nullptr) return;
        QueueBatches(list, player, *entries);
      }));
}

}  // namespace

void HandleOpenShop(AShooterPlayerController* sender) {
  const FString eosId = sender->GetUniqueNetIdAsString();
  auto record = std::make_shared<DB_PlayerPointsWithCds>();
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [record, eosId](ArkTandor_AsyncTaskResults&) { DBHelper::loadPointsWithCds(*record, eosId); },
      [record, weak = Weak(sender)](ArkTandor_AsyncTaskResults) { OpenShopContinuation(record, weak); }));
}

namespace {

// The fraction a purchase charges with: the groups' discount held to 0..1, so
// that the price the mod shows is the price taken.
double ChargedDiscount(const FString& eosId) {
  const auto& config = ConfigHelper::ShopConfig();
  return PriceHelper::DiscountForGroups(config.GroupPrivileges, config.SumPlayerShopDiscount, [&](const FString& group) {
    return TandorShop::GroupMembership::IsPlayerInGroup(eosId, group);
  });
}

}  // namespace

void HandleCategory(AShooterPlayerController* sender, int32_t index) {
  const auto& config = ConfigHelper::ShopConfig();
  const FString eosId = sender->GetUniqueNetIdAsString();
  if (index < 0 || index >= config.ShopCategories.Num()) return;
  const auto& category = config.ShopCategories[index];
  if (!Eligibility::PassesGroupFilter(eosId, category.ExcludeGroups, category.IncludeGroups)) return;
  const int32_t gameTime = GetServerGameTime();
  APlayerState* state = sender->PlayerStateField();
  TArray<PacketView> views;
  const double discount = ChargedDiscount(eosId);
  for (int32_t i = 0; i < config.ShopPackets.Num() && i < PacketViews().Num(); ++i) {
    const auto& packet = config.ShopPackets[i];
    if (packet.HideFromBuy || packet.CategoryId != index) continue;
    if (!Eligibility::IsPacketVisible(eosId, &packet, gameTime, state)) continue;
    PacketView view = PreparedPacketView(packet, PacketViews()[i]);
    if (!packet.ExcludeFromDiscount) view.Discount = discount;
    views.Add(std::move(view));
  }
  QueueBatches(Lists().Categories, sender, views);
}

void HandleShopLog(AShooterPlayerController* sender) {
  PostLogRequest<A_ShopLogEntry>(sender, &DBHelper::loadShopLog, Lists().ShopLog);
}

void HandleTradeLog(AShooterPlayerController* sender) {
  PostLogRequest<A_TradeLogEntry>(sender, &DBHelper::loadTradeLog, Lists().TradeLog);
}

bool RequestOpenShop(AShooterPlayerController* sender) {
  if (sender == nullptr || !TandorShop::ModChannelActive.load()) return false;
  if (!AcceptRequest(ModMessage::OpenShop, sender)) return false;
  HandleOpenShop(sender);
  return true;
}

}  // namespace TandorShop::ShopRequests
