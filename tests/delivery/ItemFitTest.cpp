// Whether a unit's items fit: stacks first, then new stacks in free slots,
// single items a slot each, needs of one unit taken together.
#include <gtest/gtest.h>

#include <climits>

#include "delivery/ItemFit.h"

namespace {

using DeliveryHelper::InventoryRoom;
using DeliveryHelper::ItemNeed;
using DeliveryHelper::NeedsFit;

int stoneClass, woodClass, swordClass;  // their addresses stand for three classes
const void* const Stone = &stoneClass;
const void* const Wood = &woodClass;
const void* const Sword = &swordClass;

ItemNeed Stack(const void* cls, int32_t amount, int32_t maxStack = 100) { return {cls, false, amount, maxStack}; }
ItemNeed Singles(const void* cls, int32_t amount) { return {cls, true, amount, 1}; }

TEST(ItemFit, StacksTakeUnitsBeforeNewStacksNeedSlots) {
  const InventoryRoom oneOfHundred{0, {{Stone, 99}}};
  EXPECT_TRUE(NeedsFit(oneOfHundred, {Stack(Stone, 99)}));
  EXPECT_FALSE(NeedsFit(oneOfHundred, {Stack(Stone, 100)})) << "99 fit, the hundredth needs a slot";
  EXPECT_TRUE(NeedsFit({1, {{Stone, 99}}}, {Stack(Stone, 199)}));
  EXPECT_FALSE(NeedsFit({1, {{Stone, 99}}}, {Stack(Stone, 200)}));
  EXPECT_FALSE(NeedsFit({5, {{Wood, 1000}}}, {Stack(Stone, 501)})) << "another class's room does not count";
  EXPECT_TRUE(NeedsFit({5, {}}, {Stack(Stone, 500)}));
  EXPECT_TRUE(NeedsFit({0, {{Stone, -5}}}, {Stack(Stone, 0)})) << "nothing asked, nothing needed";
  EXPECT_FALSE(NeedsFit({0, {{Stone, -5}}}, {Stack(Stone, 1)})) << "an overfull stack takes nothing";
  EXPECT_FALSE(NeedsFit({2, {}}, {Stack(Stone, 3, 0)})) << "a stack size below 1 holds one unit";
  EXPECT_TRUE(NeedsFit({3, {}}, {Stack(Stone, 3, 0)}));
}

TEST(ItemFit, SinglesTakeASlotEachAndTheNeedsOfAUnitShareTheRoom) {
  EXPECT_TRUE(NeedsFit({3, {}}, {Singles(Sword, 3)}));
  EXPECT_FALSE(NeedsFit({2, {{Sword, 500}}}, {Singles(Sword, 3)})) << "single items never go onto stacks";
  EXPECT_FALSE(NeedsFit({2, {}}, {Singles(Sword, 1), Stack(Stone, 150)})) << "together they need three slots";
  EXPECT_TRUE(NeedsFit({3, {}}, {Singles(Sword, 1), Stack(Stone, 150)}));
  // The rest of a new stack takes later units of the same class.
  EXPECT_TRUE(NeedsFit({2, {}}, {Stack(Stone, 150), Stack(Stone, 50)}));
  EXPECT_FALSE(NeedsFit({2, {}}, {Stack(Stone, 150), Stack(Stone, 51)}));
  EXPECT_FALSE(NeedsFit({INT_MAX, {}}, {Singles(Sword, INT_MAX), Singles(Sword, 1)})) << "no overflow";
}

}  // namespace
