#include <gtest/gtest.h>

#include "modcomm/RequestThrottle.h"

namespace {

using ModComm::RequestThrottle;

TEST(RequestThrottle, OneRequestPerPlayerEveryGapAndPlayersApart) {
  RequestThrottle throttle;
  EXPECT_TRUE(throttle.Accept(7, 10'000));
  EXPECT_FALSE(throttle.Accept(7, 10'500));  // 500 ms later: held back
  EXPECT_TRUE(throttle.Accept(8, 10'500));   // another player is not
  EXPECT_TRUE(throttle.Accept(7, 10'501));   // 501 ms after the last accepted one
  EXPECT_FALSE(throttle.Accept(7, 10'600));  // a refused request does not move the window
  EXPECT_FALSE(throttle.Accept(7, 11'001));
  EXPECT_TRUE(throttle.Accept(7, 11'002));
}

TEST(RequestThrottle, ForgetsPlayersWhoseLastRequestCanNoLongerHoldOneBack) {
  RequestThrottle throttle;
  for (uint64_t id = 1; id <= 10'000; ++id) throttle.Accept(id, 5'000);
  EXPECT_EQ(throttle.EntryCount(), 10'000u);
  const std::size_t crowded = throttle.Bytes();

  // Half a second later one player asks again; everybody else is gone.
  EXPECT_TRUE(throttle.Accept(1, 5'501));
  EXPECT_EQ(throttle.EntryCount(), 1u);
  EXPECT_LT(throttle.Bytes() * 100, crowded);

  // What it forgot never lets a request through early.
  EXPECT_FALSE(throttle.Accept(1, 5'600));
  EXPECT_TRUE(throttle.Accept(2, 5'600));
  EXPECT_FALSE(throttle.Accept(2, 6'000));
}

}  // namespace
