#include "commands/InventoryListing.h"

#include "AsaApi/Game/APrimalCharacter.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UPrimalInventoryComponent.h"
#include "AsaApi/Game/UPrimalItem.h"
#include "core/Log.h"

namespace CommandHandler {
namespace {

// The path name of the default object of the item's class; empty without one.
FString DefaultObjectPath(UPrimalItem* item) {
  UClass* cls = Game::UObjectBase_::ClassPrivate.Of(item);
  UObject* defaults = cls == nullptr ? nullptr : Game::UVictoryCore_::GetClassDefaultObject(cls);
  FString path;
  if (defaults != nullptr) Game::UObjectBaseUtility_::GetPathName(defaults, nullptr, &path);
  return path;
}

}  // namespace

void ListInvItems(AShooterPlayerController* admin) {
  if (admin == nullptr) return;
  auto* character = Game::AShooterPlayerController_::GetPlayerCharacter(admin);
  if (character == nullptr) return;
  UPrimalInventoryComponent* inventory = Game::APrimalCharacter_::MyInventoryComponent.Of(character);
  if (inventory == nullptr) return;
  for (UPrimalItem* item : Game::UPrimalInventoryComponent_::InventoryItems.Of(inventory)) {
    if (item == nullptr || Game::UPrimalItem_::bIsEngram.Of(item) ||
        !Game::UPrimalItem_::bAllowRemovalFromInventory.Of(item))
      continue;
    const FString line(ItemBlueprintText(DefaultObjectPath(item).View()));
    TandorShop::Log().info("{}", line.ToUtf8());
  }
}

std::u16string ItemBlueprintText(std::u16string_view pathName) {
  if (pathName.empty()) return {};
  std::u16string_view path = pathName;
  if (path.size() >= 2 && path[path.size() - 2] == u'_' && (path.back() == u'C' || path.back() == u'c'))
    path.remove_suffix(2);
  std::u16string text = u"Blueprint'";
  text += path;
  text += u"'";
  constexpr std::u16string_view kDefault = u"Default__";
  for (std::size_t at = text.find(kDefault); at != std::u16string::npos; at = text.find(kDefault, at))
    text.erase(at, kDefault.size());
  return text;
}

}  // namespace CommandHandler
