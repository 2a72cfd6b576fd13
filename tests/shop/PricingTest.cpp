// The purchase arithmetic: discounts from group privileges, the price check
// before delivery and the charge after it.
#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "shop/PacketHelper.h"
#include "shop/Pricing.h"

namespace {

using namespace PriceHelper;

TArray<ConfigHelper::ConfigGroupPrivilege> Privileges(std::initializer_list<std::pair<const char*, float>> list) {
  TArray<ConfigHelper::ConfigGroupPrivilege> privileges;
  for (const auto& [group, discount] : list) privileges.Add({FString(group), discount, 0});
  return privileges;
}

auto MemberOf(std::set<std::string> groups) {
  return [groups](const FString& group) { return groups.count(group.ToUtf8()) > 0; };
}

TEST(Pricing, GroupDiscountIsTheLargestOrTheSumAndNeverLeavesZeroToOne) {
  const auto privileges = Privileges({{"Vip", 0.10f}, {"Donor", 0.15f}, {"Other", 0.5f}});
  EXPECT_NEAR(DiscountForGroups(privileges, false, MemberOf({"Vip", "Donor"})), 0.15, 1e-6);
  EXPECT_NEAR(DiscountForGroups(privileges, true, MemberOf({"Vip", "Donor"})), 0.25, 1e-6);
  EXPECT_EQ(DiscountForGroups(privileges, true, MemberOf({})), 0.0);

  // Reversed on purpose: summed discounts above 100 % no longer make a purchase pay the player.
  const auto generous = Privileges({{"A", 0.8f}, {"B", 0.7f}});
  EXPECT_EQ(DiscountForGroups(generous, true, MemberOf({"A", "B"})), 1.0);
  const auto surcharge = Privileges({{"A", -0.5f}});
  EXPECT_EQ(DiscountForGroups(surcharge, true, MemberOf({"A"})), 0.0);
}

TEST(Pricing, WorkedExampleTwoUnitsAtAQuarterOffCost180AndTheCheckCoversBoth) {
  ConfigHelper::ConfigShopPacket packet;
  packet.Price = 100;
  ConfigHelper::ConfigItem item;
  ConfigHelper::ConfigItemVariant variant;
  variant.PriceIncrease = 20;
  PacketHelper::ConstructedPacket cp;
  cp.Packet = &packet;
  cp.ItemGroups.push_back(&item);
  cp.ItemVariants.push_back(&variant);
  cp.Amount = 2;

  const double discount = 0.25;
  EXPECT_EQ(UnitPrice(cp), 120);
  // The check asks for what will be charged (180), not for one unit (90).
  EXPECT_EQ(PurchaseNeed(UnitPrice(cp), cp.Amount, discount, false), 180);
  int64_t total = 0;
  for (int unit = 0; unit < cp.Amount; ++unit) total += UnitCharge(packet.Price, 20, 1, true);
  EXPECT_EQ(total, 240);
  EXPECT_EQ(FinalCharge(total, discount, false), 180);
}

TEST(Pricing, ExcludedPacketsAreCheckedAndChargedAtFullPrice) {
  // Reversed on purpose: 100 points no longer buy 3 × 50, and the check no longer
  // uses a discount the charge does not give.
  EXPECT_EQ(PurchaseNeed(50, 3, 0.0, false), 150);
  EXPECT_EQ(PurchaseNeed(100, 1, 0.5, true), 100);
  EXPECT_EQ(FinalCharge(100, 0.5, true), 100);
  EXPECT_EQ(FinalCharge(100, 0.5, false), 50);
  EXPECT_EQ(Discounted(5, 0.5), 3) << "rounded half up";
}

TEST(Pricing, HugeTotalsAreRefusedInsteadOfWrapping) {
  const int32_t max = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(PurchaseNeed(max, 1, 0.0, false), max);
  EXPECT_FALSE(PurchaseNeed(max, 2, 0.5, false)) << "the undiscounted total leaves 32 bits";
  EXPECT_FALSE(PurchaseNeed(int64_t{1} << 40, max, 0.0, false)) << "the product leaves 64 bits";
  EXPECT_FALSE(PurchaseNeed(-(int64_t{1} << 31) - 1, 1, 0.0, false));
  EXPECT_FALSE(PurchaseNeed(10, 0, 0.0, false));
  EXPECT_FALSE(PurchaseNeed(10, -2, 0.0, false));
  EXPECT_EQ(FinalCharge(int64_t{1} << 40, 0.0, false), max);
  EXPECT_EQ(FinalCharge(std::numeric_limits<int64_t>::max(), 0.0, false), max);
}

TEST(Pricing, NegativePricesAreNeverPaidOut) {
  EXPECT_EQ(PurchaseNeed(-40, 2, 0.0, false), 0);
  EXPECT_EQ(PurchaseNeed(-40, 2, 0.0, true), 0);
  EXPECT_EQ(FinalCharge(-80, 0.0, false), 0);
  EXPECT_EQ(FinalCharge(-80, 0.0, true), 0);
}

TEST(Pricing, AmountsAreBoundedByThePacketOrByAThousand) {
  EXPECT_TRUE(AmountAllowed(3, 3));
  EXPECT_FALSE(AmountAllowed(4, 3));
  EXPECT_TRUE(AmountAllowed(1000, 0));
  EXPECT_FALSE(AmountAllowed(1001, 0));
  EXPECT_FALSE(AmountAllowed(1001, -5));
  EXPECT_FALSE(AmountAllowed(0, 0));
  EXPECT_FALSE(AmountAllowed(-2, 10));
}

TEST(Pricing, AUnitIsChargedItsBasePriceOnlyWhenSomethingOfItArrived) {
  EXPECT_EQ(UnitCharge(100, 0, 0, true), 0) << "nothing delivered, nothing charged";
  EXPECT_EQ(UnitCharge(100, 5, 1, true), 105);
  EXPECT_EQ(UnitCharge(100, 0, 0, false), 100) << "a packet with nothing to deliver";
}

}  // namespace
