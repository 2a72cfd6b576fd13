#include <gtest/gtest.h>

#include "AsaApi/Host.h"
#include "core/CommandLine.h"

namespace {

using TandorShop::ReadServerKey;
using TandorShop::SplitCommandLine;

std::string KeyOf(const std::u16string& commandLine) {
  host::SetProcessCommandLine(commandLine);
  return ReadServerKey().ToUtf8();
}

TEST(ServerKey, FoundInAnyCaseAndMayBeEmpty) {
  EXPECT_EQ(KeyOf(u"Server.exe TheIsland?listen -serverkey=Alpha -log"), "Alpha");
  EXPECT_EQ(KeyOf(u"Server.exe -SERVERKEY=Beta"), "Beta");
  EXPECT_EQ(KeyOf(u"Server.exe -serverkey= -other"), "");
  EXPECT_EQ(KeyOf(u"Server.exe -log"), "");
  EXPECT_EQ(KeyOf(u""), "");
}

TEST(ServerKey, PrefixInsideAnArgumentIsIgnoredAndTheSearchGoesOn) {
  EXPECT_EQ(KeyOf(u"Server.exe x-serverkey=Wrong -serverkey=Right"), "Right");
  EXPECT_EQ(KeyOf(u"Server.exe -serverkey=First -serverkey=Second"), "First");
}

TEST(ServerKey, QuotesGroupWordsAndEscapesFollowThePlatform) {
  EXPECT_EQ(KeyOf(u"Server.exe \"-serverkey=My Cluster\" -log"), "My Cluster");
  EXPECT_EQ(KeyOf(u"Server.exe -serverkey=\"Two Words\""), "Two Words");
  EXPECT_EQ(KeyOf(u"Server.exe -serverkey=a\\\"b"), "a\"b");
  EXPECT_EQ(KeyOf(u"\"C:\\Program Files\\Server.exe\" -serverkey=K"), "K");
}

TEST(CommandLineSplit, BackslashesOnlyEscapeBeforeQuotes) {
  const auto args = SplitCommandLine(u"prog a\\\\b \"c\\\\\\\" d\" e\"\"f \"g\"\"h\"");
  ASSERT_TRUE(args.has_value());
  const std::vector<std::u16string> expected{u"prog", u"a\\\\b", u"c\\\" d", u"ef", u"g\"h"};
  EXPECT_EQ(*args, expected);
}

}  // namespace
