#pragma once
// Group membership through the Permissions plugin, bound at the first question.
#include "AsaApi/FString.h"

namespace TandorShop::GroupMembership {
// False when the Permissions plugin is not loaded (logged once).
bool IsPlayerInGroup(const FString& eosId, const FString& group);
}  // namespace TandorShop::GroupMembership
