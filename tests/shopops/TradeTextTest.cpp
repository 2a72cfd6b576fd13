#include <gtest/gtest.h>

#include "shop/TradeText.h"

namespace {

using TandorShop::TradeText::SplitTarget;
using TandorShop::TradeText::TradeName;

TEST(TradeText, TargetSplitsAtTheFirstSpaceOnly) {
  const auto recipient = SplitTarget(FString("Eos1 Bob the {name}"));
  ASSERT_TRUE(recipient);
  EXPECT_EQ(recipient->EosId.ToUtf8(), "Eos1");
  EXPECT_EQ(recipient->Display.ToUtf8(), "Bob the {name}");
  EXPECT_TRUE(SplitTarget(FString("Eos1 ")));
  EXPECT_FALSE(SplitTarget(FString("Eos1")));
  EXPECT_FALSE(SplitTarget(FString(" Bob")));
  EXPECT_FALSE(SplitTarget(FString("")));
}

TEST(TradeText, TribeIsAppendedWithoutASpace) {
  EXPECT_EQ(TradeName(FString("Ann"), FString("Raiders")).ToUtf8(), "Ann(Raiders)");
  EXPECT_EQ(TradeName(FString("Ann"), FString("")).ToUtf8(), "Ann");
}

}  // namespace
