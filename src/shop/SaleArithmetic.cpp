#include "shop/SaleArithmetic.h"

#include <algorithm>
#include <limits>

#include "core/CheckedMath.h"

namespace SaleHelper {

std::optional<SalePlan> PlanSale(int32_t itemsPerUnit, int32_t pricePerUnit, int32_t maxSellAtOnce,
                                 int32_t requestedUnits, int64_t have) {
  if (itemsPerUnit < 1 || pricePerUnit < 1 || requestedUnits < 1 || have < itemsPerUnit) return std::nullopt;
  const int64_t limit = maxSellAtOnce >= 1 ? std::min(requestedUnits, maxSellAtOnce) : requestedUnits;
  const int64_t possible = have / itemsPerUnit;
  const int64_t units = std::min(possible, limit);
  return SalePlan{static_cast<int32_t>(units), units * itemsPerUnit};
}

int32_t SalePayment(int64_t removedItems, int32_t itemsPerUnit, int32_t pricePerUnit) {
  if (itemsPerUnit < 1 || pricePerUnit < 1 || removedItems < itemsPerUnit) return 0;
  const int64_t units = removedItems / itemsPerUnit;
  int64_t points = 0;
  if (TandorShop::MultiplyOverflows(units, static_cast<int64_t>(pricePerUnit), points)) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(std::min<int64_t>(points, std::numeric_limits<int32_t>::max()));
}

}  // namespace SaleHelper
