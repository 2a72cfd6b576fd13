// The sale arithmetic: what leaves the inventory and what it pays.
#include <gtest/gtest.h>

#include <limits>

#include "shop/SaleArithmetic.h"

namespace {

using namespace SaleHelper;

TEST(SaleArithmetic, WorkedExample47ItemsSellThreeUnitsFor15Points) {
  const auto plan = PlanSale(10, 5, 3, 5, 47);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->Units, 3);
  EXPECT_EQ(plan->ItemsToRemove, 30);
  EXPECT_EQ(SalePayment(30, 10, 5), 15);
}

TEST(SaleArithmetic, TheLimitIsTheRequestTheInventoryOrMaxSellAtOnce) {
  EXPECT_EQ(PlanSale(10, 5, 0, 9, 47)->Units, 4) << "no limit: what the inventory holds";
  EXPECT_EQ(PlanSale(10, 5, -1, 2, 47)->Units, 2);
  EXPECT_EQ(PlanSale(1, 1, 0, std::numeric_limits<int32_t>::max(), int64_t{1} << 40)->ItemsToRemove,
            std::numeric_limits<int32_t>::max());
}

TEST(SaleArithmetic, NothingIsSoldForTooFewItemsOrAMisconfiguredItem) {
  EXPECT_FALSE(PlanSale(10, 5, 0, 1, 9));
  EXPECT_FALSE(PlanSale(0, 5, 0, 1, 100)) << "Amount 0 would divide by zero";
  EXPECT_FALSE(PlanSale(-3, 5, 0, 1, 100));
  EXPECT_FALSE(PlanSale(10, 0, 0, 1, 100)) << "Price 0 takes items for nothing";
  EXPECT_FALSE(PlanSale(10, 5, 0, 0, 100));
  EXPECT_FALSE(PlanSale(10, 5, 0, -4, 100));
}

TEST(SaleArithmetic, PaymentFollowsWhatActuallyLeftTheInventory) {
  EXPECT_EQ(SalePayment(25, 10, 5), 10) << "only two whole units were removed";
  EXPECT_EQ(SalePayment(9, 10, 5), 0);
  EXPECT_EQ(SalePayment(-10, 10, 5), 0);
  EXPECT_EQ(SalePayment(30, 0, 5), 0);
  EXPECT_EQ(SalePayment(int64_t{1} << 40, 1, std::numeric_limits<int32_t>::max()),
            std::numeric_limits<int32_t>::max())
      << "clamped, not wrapped";
}

}  // namespace
