#include <gtest/gtest.h>

#include "notify/VersionCheck.h"

namespace {

using namespace TandorShop::VersionCheck;

TEST(VersionArithmetic, ThousandthsAsTheServiceFloatBecomesThem) {
  EXPECT_EQ(ToThousandths(1.01f), 1010);
  EXPECT_EQ(ToThousandths(1.0104f), 1010);
  EXPECT_EQ(ToThousandths(1.011f), 1011);
  EXPECT_EQ(Judge(ParseAnswer(R"({"version": 1.02, "min_version": 1.0104})")), Verdict::UpdateAvailable);
  EXPECT_EQ(Judge(ParseAnswer(R"({"min_version": 1.011})")), Verdict::Refused);
  EXPECT_EQ(Judge(ParseAnswer("{}")), Verdict::UpToDate);
  EXPECT_THROW(ParseAnswer("[1, 2]"), std::exception);
  EXPECT_THROW(ParseAnswer(R"({"version": null})"), std::exception);
  EXPECT_EQ(ServiceUrl(), "https://modversion.tandorshop.dev/v1/check");
}

}  // namespace
