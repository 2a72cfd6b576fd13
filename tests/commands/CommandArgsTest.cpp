// Admin command arguments: pieces, amounts, log texts and ports; the item
// blueprint text of the inventory listing.
#include <gtest/gtest.h>

#include "AsaApi/FString.h"
#include "commands/AdminCommandArgs.h"
#include "commands/CommandArgs.h"
#include "commands/InventoryListing.h"

namespace {

using namespace CommandHandler;

TEST(CommandArgs, BlanksSeparateAndRunsOfThemCountAsOne) {
  EXPECT_EQ(SplitCommand(u"  AddPoints   id  5 "), (Pieces{u"AddPoints", u"id", u"5"}));
  EXPECT_EQ(SplitCommand(u"AddPoints\tid"), (Pieces{u"AddPoints\tid"})) << "only blanks separate";
  EXPECT_TRUE(SplitCommand(u"").empty());
  EXPECT_TRUE(SplitCommand(u"    ").empty());
}

TEST(CommandArgs, AmountsAreDigitsWithAnOptionalMinusWithin32Bits) {
  struct Case {
    std::u16string text;
    AmountKind kind;
    int32_t value;
  };
  const Case cases[] = {
      {u"5", AmountKind::Valid, 5},
      {u"-5", AmountKind::Valid, -5},
      {u"007", AmountKind::Valid, 7},
      {u"-0", AmountKind::Valid, 0},
      {u"2147483647", AmountKind::Valid, 2147483647},
      {u"-2147483648", AmountKind::Valid, INT32_MIN},
      {u"2147483648", AmountKind::OutOfRange, 0},
      {u"-2147483649", AmountKind::OutOfRange, 0},
      {u"4294967301", AmountKind::OutOfRange, 0},  // would wrap to 5
      {u"99999999999999999999999999", AmountKind::OutOfRange, 0},
      {u"-", AmountKind::Unreadable, 0},
      {u"", AmountKind::Unreadable, 0},
      {u"--5", AmountKind::Unreadable, 0},
      {u"+5", AmountKind::Unreadable, 0},
      {u"5-", AmountKind::Unreadable, 0},
      {u"abc", AmountKind::Unreadable, 0},
      {u"1e3", AmountKind::Unreadable, 0},
      {u"\u0663", AmountKind::Unreadable, 0},  // an Arabic-Indic three
      {u"{}", AmountKind::Unreadable, 0},
  };
  for (const Case& c : cases) {
    const Amount amount = ParseAmount(c.text);
    EXPECT_EQ(amount.Kind, c.kind) << Utf16ToUtf8(c.text);
    EXPECT_EQ(amount.Value, c.value) << Utf16ToUtf8(c.text);
  }
}

TEST(CommandArgs, AdminLogTextIsEveryPieceFromTheFourthWithATrailingBlank) {
  EXPECT_EQ(AdminLogText(SplitCommand(u"AddPoints id 10 event  win")), u"event win ");
  EXPECT_EQ(AdminLogText(SplitCommand(u"AddPoints id 10")), u"");
}

TEST(CommandArgs, PortsAreDecimalUpTo65535) {
  EXPECT_EQ(ParsePort(u"3306"), 3306u);
  EXPECT_EQ(ParsePort(u"0"), 0u);
  EXPECT_EQ(ParsePort(u"65535"), 65535u);
  EXPECT_FALSE(ParsePort(u"65536"));
  EXPECT_FALSE(ParsePort(u"4294970602")) << "3306 after a 32-bit wrap";
  EXPECT_FALSE(ParsePort(u"-1"));
  EXPECT_FALSE(ParsePort(u"port"));
}

TEST(CommandArgs, AHeldPacketAmountThatIsGivenMustBeANumberOtherThanZero) {
  using CommandHandler::ParseChangeKitAmount;
  using CommandHandler::Pieces;
  for (const char16_t* amount : {u"2x", u"two", u"-", u"0", u"99999999999"}) {
    EXPECT_EQ(ParseChangeKitAmount(Pieces{u"ChangeKitAmount", u"ann", u"Kit,3", amount}).Refusal,
              CommandHandler::Replies::ChangeKitAmountBadAmount);
  }
  EXPECT_EQ(ParseChangeKitAmount(Pieces{u"ChangeKitAmount", u"ann", u"Kit,3", u"-2"}).Amount, -2);
  const auto withoutAmount = ParseChangeKitAmount(Pieces{u"ChangeKitAmount", u"ann", u"Kit,3"});
  EXPECT_TRUE(withoutAmount.Refusal.empty());
  EXPECT_EQ(withoutAmount.Amount, 0) << "the packet text's own amount is used";
  EXPECT_EQ(ParseChangeKitAmount(Pieces{u"ChangeKitAmount", u"ann"}).Refusal, "Invalid Command");
}

TEST(ItemBlueprintText, ClassPathBecomesABlueprintReference) {
  EXPECT_EQ(ItemBlueprintText(u"/Game/Items/PrimalItem_Stone.Default__PrimalItem_Stone_C"),
            u"Blueprint'/Game/Items/PrimalItem_Stone.PrimalItem_Stone'");
  EXPECT_EQ(ItemBlueprintText(u"/Game/A.Default__A_c"), u"Blueprint'/Game/A.A'");
  EXPECT_EQ(ItemBlueprintText(u"/Game/A.Default__A"), u"Blueprint'/Game/A.A'");
  EXPECT_EQ(ItemBlueprintText(u""), u"");
}

}  // namespace
