#pragma once
// The texts of a trade: the recipient as the mod names it, and the sender's name
// in the trade log. Plain functions.
#include <optional>

#include "AsaApi/FString.h"

namespace TandorShop::TradeText {

struct Recipient {
  FString EosId;
  FString Display;  // whatever the mod shows for the recipient
};

// "EOSID display text": split at the first space. nullopt without a space or
// with nothing before it.
std::optional<Recipient> SplitTarget(const FString& target);

// The character name, followed by "(tribe)" without a space when there is a tribe name.
FString TradeName(const FString& characterName, const FString& tribeName);

}  // namespace TandorShop::TradeText
