#pragma once
// The arithmetic of a sale: how many items leave the inventory for a request,
// and what the player is paid for what actually left. Plain functions.
#include <cstdint>
#include <optional>

namespace SaleHelper {

struct SalePlan {
  int32_t Units = 0;          // sale units taken
  int64_t ItemsToRemove = 0;  // Units × items per unit
};

// itemsPerUnit and pricePerUnit are the item to sell's Amount and Price,
// maxSellAtOnce its limit per request (below 1: none), have the items of that
// class in the inventory. nullopt when nothing may be sold: an Amount or Price
// below 1, a request below 1 unit, or fewer items than one unit takes.
std::optional<SalePlan> PlanSale(int32_t itemsPerUnit, int32_t pricePerUnit, int32_t maxSellAtOnce,
                                 int32_t requestedUnits, int64_t have);

// The points for the items that left the inventory: whole units of removedItems
// times pricePerUnit, in 64 bits, clamped to the 32-bit range; 0 when nothing
// whole left or the item to sell is misconfigured.
int32_t SalePayment(int64_t removedItems, int32_t itemsPerUnit, int32_t pricePerUnit);

}  // namespace SaleHelper
