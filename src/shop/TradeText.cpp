#include "shop/TradeText.h"

namespace TandorShop::TradeText {

std::optional<Recipient> SplitTarget(const FString& target) {
  const std::u16string_view text = target.View();
  const std::size_t space = text.find(u' ');
  if (space == std::u16string_view::npos || space == 0) return std::nullopt;
  return Recipient{FString(text.substr(0, space)), FString(text.substr(space + 1))};
}

FString TradeName(const FString& characterName, const FString& tribeName) {
  if (tribeName.IsEmpty()) return characterName;
  FString name = characterName;
  name += std::u16string_view(u"(");
  name += tribeName;
  name += std::u16string_view(u")");
  return name;
}

}  // namespace TandorShop::TradeText
