// The arithmetic of delivery: stat steps, creature levels, prices and genders.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "delivery/DeliveryMath.h"

namespace {

using namespace DeliveryHelper;

TEST(DeliveryMath, StatRawValues) {
  EXPECT_EQ(StatRawValue(3, 150.0f, 55.0f, 0.1f, 1.0f), 5) << "damage ignores the base and counts in percent";
  EXPECT_EQ(StatRawValue(3, 99.0f, 1.0f, 0.1f, 1.0f), std::nullopt);
  EXPECT_EQ(StatRawValue(1, 10.5f, 10.0f, 0.001f, 1.0f), 50);
  EXPECT_EQ(StatRawValue(1, 9.0f, 10.0f, 0.001f, 1.0f), std::nullopt) << "below a positive base";
  EXPECT_EQ(StatRawValue(1, 1.0e12f, 10.0f, 0.001f, 1.0f), 65535);
  EXPECT_EQ(StatRawValue(1, 20.0f, 10.0f, 0.0f, 1.0f), std::nullopt) << "a step of 0";
  EXPECT_EQ(StatRawValue(1, std::nanf(""), 10.0f, 0.001f, 1.0f), std::nullopt);
  EXPECT_EQ(StatRawValue(1, 20.0f, 10.0f, std::numeric_limits<float>::infinity(), 1.0f), std::nullopt);
  EXPECT_EQ(StatRawValue(1, 20.0f, 10.0f, 1.0e-30f, 1.0e-30f), std::nullopt) << "an infinite raw value";
  EXPECT_EQ(StatRawValue(6, -3.0f, -2.0f, 0.5f, 1.0f), 1) << "a negative base: (-3 - -2) / -1";
  EXPECT_EQ(StatRawValue(6, -1.0f, -2.0f, 0.5f, 1.0f), std::nullopt) << "above a negative base";
  EXPECT_EQ(StatRawValue(1, 0.0f, 10.0f, 0.001f, 1.0f), std::nullopt);
}

TEST(DeliveryMath, CreatureLevels) {
  EXPECT_EQ(CreatureBaseLevel(150, 1.5f), 100);
  EXPECT_EQ(CreatureBaseLevel(150, 1.0f), 150);
  EXPECT_EQ(CreatureBaseLevel(150, std::nullopt), 150);
  EXPECT_EQ(CreatureBaseLevel(150, 0.0f), 150);
  EXPECT_EQ(CreatureBaseLevel(150, -2.0f), 150);
  EXPECT_EQ(CreatureBaseLevel(150, std::nanf("")), 150);
  EXPECT_EQ(CreatureBaseLevel(INT_MAX, 1.0e-6f), INT_MAX);
  EXPECT_EQ(CreatureBaseLevel(100, 3.0f), 34);
}

TEST(DeliveryMath, PricesSaturateAndGendersReadTheIdAsUnsigned) {
  EXPECT_EQ(AddPrice(10, 5), 15);
  EXPECT_EQ(AddPrice(INT_MAX - 5, 100), INT_MAX);
  EXPECT_EQ(AddPrice(INT_MIN + 5, -100), INT_MIN);
  EXPECT_TRUE(RandomGenderIsFemale(13));
  EXPECT_FALSE(RandomGenderIsFemale(17));
  EXPECT_FALSE(RandomGenderIsFemale(-7)) << "4294967289 ends in 9";
  EXPECT_TRUE(RandomGenderIsFemale(-4)) << "4294967292 ends in 2";
}

}  // namespace
