#include "commands/InventoryListing.h"

namespace CommandHandler {

void ListInvItems(AShooterPlayerController*) {
  // For each item of GetPlayerCharacter()->MyInventoryComponent->InventoryItems:
  // skip null items, engrams and items that may not be removed; log
  // ItemBlueprintText (the path name of the class default object) at info level.
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
