#pragma once
// The points interface other plugins link against. Each call blocks its caller
// for its database work and may be made from any thread.
#include "AsaApi/FString.h"
#include "core/Export.h"

namespace TandorShop {

// Adds the amount (negative subtracts); false when the player's row did not take it.
TANDORSHOP_API bool AddPoints(int amount, const FString& eosId);
// Takes the amount when the balance covers it; true only when it was taken.
TANDORSHOP_API bool SpendPoints(int amount, const FString& eosId);
// The balance (its low 32 bits); creates the player's row with 0 when it is missing.
TANDORSHOP_API int GetPoints(const FString& eosId);
// Sets the balance; false when the player's row did not take it.
TANDORSHOP_API bool SetPoints(const FString& eosId, int amount);

}  // namespace TandorShop
