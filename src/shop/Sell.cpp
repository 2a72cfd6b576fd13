// Selling inventory items for points. The player is paid for what actually left
// the inventory.
#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "config/ShopConfig.h"
#include "core/ThreadPool.h"
#include "db/DBHelper.h"
#include "delivery/DeliveryHelper.h"
#include "modcomm/GameAssets.h"
#include "modcomm/GameState.h"
#include "modcomm/ModEvents.h"
#include "modcomm/PacketViews.h"
#include "modcomm/PlayerMessages.h"
#include "modcomm/SendQueues.h"
#include "shop/SaleArithmetic.h"
#include "shop/ShopRequests.h"

namespace TandorShop::ShopRequests {
namespace {

const ConfigHelper::ConfigItemToSell* FindItemToSell(const FString& name) {
  for (const auto& item : ConfigHelper::ShopConfig().ItemsToSell)
    if (item.Name.Equals(name, true)) return &item;
  return nullptr;
}

UPrimalInventoryComponent* InventoryOf(AShooterPlayerController* controller) {
  AShooterCharacter* character = Game::AShooterPlayerController_::GetPlayerCharacter(controller);
  return character == nullptr ? nullptr : Game::APrimalCharacter_::MyInventoryComponent.Of(character);
}

}  // namespace

int32_t SellItems(AShooterPlayerController* controller, const ConfigHelper::ConfigItemToSell& item, int32_t units) {
  UPrimalInventoryComponent* inventory = controller == nullptr ? nullptr : InventoryOf(controller);
  if (inventory == nullptr || item.ItemToSell.Path.IsEmpty()) return -1;
  UClass* itemClass = ModComm::LoadClass(item.ItemToSell.Path);
  if (itemClass == nullptr) return -1;
  const int32_t have = DeliveryHelper::CountSellableItems(itemClass, inventory);
  const auto plan = SaleHelper::PlanSale(item.Amount, item.Price, item.MaxSellAtOnce, units, have);
  if (!plan) return -1;
  DeliveryHelper::RemoveItemUnits(inventory, itemClass, static_cast<int32_t>(plan->ItemsToRemove));
  const int32_t after = DeliveryHelper::CountSellableItems(itemClass, inventory);
  const int64_t removed = static_cast<int64_t>(have) - after;
  const int32_t points = SaleHelper::SalePayment(removed, item.Amount, item.Price);
  return points > 0 ? points : -1;
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
  int32_t points = SellItems(sender, *item, units);
  if (points < 1) return;
  ModComm::PlayerServerInfo info{sender->GetUniqueNetIdAsString(), ModComm::PlayerLabel(sender),
                                 ModComm::SessionName()};
  TandorShop::Pool().PostTask(PoolTask::MakeJob(
      [info, name = item->Name, descr = item->Description, price = item->Price, points] {
        DBHelper::sellItems(info, name, descr, price, points);
      }));
  ModComm::SendToPlayerBuff(sender, ModComm::BuffEvent::UpdatePoints, points);
}

}  // namespace TandorShop::ShopRequests
