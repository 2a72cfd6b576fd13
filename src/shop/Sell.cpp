// Selling inventory items for points. The player is paid for what actually left
// the inventory; when the credit does not commit, the items go back.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <fmt/format.h>

#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/WeakObjectPtr.h"
#include "config/ShopConfig.h"
#include "core/TextConversion.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "delivery/DeliveryHelper.h"
#include "modcomm/GameAssets.h"
#include "modcomm/GameState.h"
#include "modcomm/ModEvents.h"
#include "modcomm/PacketViews.h"
#include "modcomm/PlayerMessages.h"
#include "modcomm/SendQueues.h"
#include "notify/DiscordHelper.h"
#include "shop/SaleArithmetic.h"
#include "shop/Settlements.h"
#include "shop/ShopRequests.h"

namespace TandorShop::ShopRequests {
namespace {

using Weak = TWeakObjectPtr<AShooterPlayerController>;

const ConfigHelper::ConfigItemToSell* FindItemToSell(const FString& name) {
  for (const auto& item : ConfigHelper::ShopConfig().ItemsToSell)
    if (item.Name.Equals(name, true)) return &item;
  return nullptr;
}

UPrimalInventoryComponent* InventoryOf(AShooterPlayerController* controller) {
  AShooterCharacter* character = Game::AShooterPlayerController_::GetPlayerCharacter(controller);
  return character == nullptr ? nullptr : Game::APrimalCharacter_::MyInventoryComponent.Of(character);
}

// What a sale took from the inventory: the points it is worth, and the items.
struct SaleTaken {
  int32_t Points = -1;
  UClass* ItemClass = nullptr;
  int32_t Items = 0;
};

SaleTaken TakeForSale(AShooterPlayerController* controller, const ConfigHelper::ConfigItemToSell& item,
                      int32_t units) {
  SaleTaken taken;
  UPrimalInventoryComponent* inventory = controller == nullptr ? nullptr : InventoryOf(controller);
  if (inventory == nullptr || item.ItemToSell.Path.IsEmpty()) return taken;
  UClass* itemClass = ModComm::LoadClass(item.ItemToSell.Path);
  if (itemClass == nullptr) return taken;
  const int32_t have = DeliveryHelper::CountSellableItems(itemClass, inventory);
  const auto plan = SaleHelper::PlanSale(item.Amount, item.Price, item.MaxSellAtOnce, units, have);
  if (!plan) return taken;
  DeliveryHelper::RemoveItemUnits(inventory, itemClass, static_cast<int32_t>(plan->ItemsToRemove));
  const int32_t after = DeliveryHelper::CountSellableItems(itemClass, inventory);
  taken.ItemClass = itemClass;
  taken.Items = have - after;
  const int32_t points = SaleHelper::SalePayment(taken.Items, item.Amount, item.Price);
  taken.Points = points > 0 ? points : -1;
  return taken;
}

// What a sale's credit came to.
enum class Credit { Done, NotDone, Unknown };
using CreditWrite = std::function<Credit()>;

// The credit written until it lands: the id is looked up first, so a credit whose
// earlier answer was lost is never written twice.
void SettleCredit(const std::string& what, const std::string& opId, CreditWrite credit) {
  Settlements::Post(what, [opId, credit = std::move(credit)] {
    const std::optional<bool> committed = DBHelper::operationCommitted(opId);
    if (!committed) return Settlements::Outcome::Failed;
    if (*committed) return Settlements::Outcome::Landed;
    return credit() == Credit::Done ? Settlements::Outcome::Landed : Settlements::Outcome::Failed;
  });
}

// The credit did not commit: the items go back. When they cannot (the player
// left, the inventory took fewer), the sale stands and its credit is written
// once the database takes it.
void UndoSale(const Weak& weak, const SaleTaken& taken, const std::string& what, const std::string& opId,
              CreditWrite credit) {
  AShooterPlayerController* seller = weak.Get();
  UPrimalInventoryComponent* inventory = seller == nullptr ? nullptr : InventoryOf(seller);
  const int32_t back = DeliveryHelper::ReturnItemUnits(inventory, taken.ItemClass, taken.Items);
  if (back == taken.Items) return;
  DeliveryHelper::RemoveItemUnits(inventory, taken.ItemClass, back);
  SettleCredit(what, opId, std::move(credit));
}

}  // namespace

int32_t SellItems(AShooterPlayerController* controller, const ConfigHelper::ConfigItemToSell& item, int32_t units) {
  return TakeForSale(controller, item, units).Points;
}

void HandleSellList(AShooterPlayerController* sender) {
  const auto& config = ConfigHelper::ShopConfig();
  if (config.DisableSell) return;
  TArray<ModComm::SellView> views;
  for (int32_t i = 0; i < config.ItemsToSell.Num() && i < ModComm::SellViews().Num(); ++i) {
    const auto& item = config.ItemsToSell[i];
    ModComm::SellView& stored = ModComm::SellViews()[i];
    stored.Icon = ModComm::LoadTexture(item.IconOverride.Path);
    stored.ItemClass = ModComm::LoadClass(item.ItemToSell.Path);
    views.Add(stored);
  }
  ModComm::QueueBatches(ModComm::Lists().Sell, sender, views);
}

void HandleSell(AShooterPlayerController* sender, const FString& itemName, int32_t units) {
  if (ConfigHelper::ShopConfig().DisableSell || units < 1) return;
  const ConfigHelper::ConfigItemToSell* item = FindItemToSell(itemName);
  if (item == nullptr) return;
  const SaleTaken taken = TakeForSale(sender, *item, units);
  if (taken.Points < 1) return;
  ModComm::PlayerServerInfo info{sender->GetUniqueNetIdAsString(), ModComm::PlayerLabel(sender),
                                 ModComm::SessionName()};
  const std::string opId = DBHelper::NewOperationId();
  const std::string what = fmt::format("sale {} of {} x '{}' by eosId {}: {} points to credit", opId, taken.Items,
                                       item->Name.ToUtf8(), DBHelper::ToNarrow(info.EosId), taken.Points);
  CreditWrite credit = [info, name = item->Name, descr = item->Description, price = item->Price,
                        points = taken.Points, opId] {
    DBHelper::ShopLogRecord written;
    bool unknown = false;
    const bool credited = DBHelper::sellItems(info, name, descr, price, points, &written, opId, &unknown);
    if (credited) DiscordHelper::sendSell(written);  // told once it committed
    return credited ? Credit::Done : (unknown ? Credit::Unknown : Credit::NotDone);
  };
  auto credited = std::make_shared<Credit>(Credit::NotDone);
  TandorShop::Pool().PostTask(PoolTask::MakeWork(
      [credit, credited](ArkTandor_AsyncTaskResults&) { *credited = credit(); },
      [credit, credited, taken, what, opId, weak = Weak(sender)](ArkTandor_AsyncTaskResults) {
        // Whether it committed is not known: the items stay taken and the id settles it.
        if (*credited == Credit::Unknown) return SettleCredit(what, opId, credit);
        if (*credited == Credit::NotDone) return UndoSale(weak, taken, what, opId, credit);
        int32_t points = taken.Points;
        if (AShooterPlayerController* seller = weak.Get())
          ModComm::SendToPlayerBuff(seller, ModComm::BuffEvent::UpdatePoints, points);
      }));
}

}  // namespace TandorShop::ShopRequests
