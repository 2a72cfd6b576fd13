// Admin command arguments: pieces, amounts, log texts, ports, and what each
// command takes from them.
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

TEST(CommandArgs, AddPointsSkipsWhatIsNotANonZero32BitAmount) {
  EXPECT_EQ(ParseAddPoints(SplitCommand(u"AddPoints id")).Refusal, Replies::AddPointsUsage);
  for (const char16_t* amount : {u"0", u"abc", u"-", u"2147483648", u"-99999999999"})
    EXPECT_EQ(ParseAddPoints(SplitCommand(std::u16string(u"AddPoints id ") + amount)).Refusal,
              Replies::SkippedAddingZero)
        << Utf16ToUtf8(amount);
  const PointsArgs args = ParseAddPoints(SplitCommand(u"AddPoints  id -5 gift"));
  EXPECT_TRUE(args.Refusal.empty());
  EXPECT_EQ(args.EosId, u"id");
  EXPECT_EQ(args.Amount, -5);
  EXPECT_EQ(args.LogText, u"gift ");
}

TEST(CommandArgs, SetPointsReadsGarbageAsZeroButRefusesOutOfRange) {
  EXPECT_EQ(ParseSetPoints(SplitCommand(u"SetPoints id")).Refusal, Replies::SetPointsUsage);
  const PointsArgs garbage = ParseSetPoints(SplitCommand(u"SetPoints id abc"));
  EXPECT_TRUE(garbage.Refusal.empty());
  EXPECT_EQ(garbage.Amount, 0);
  EXPECT_EQ(ParseSetPoints(SplitCommand(u"SetPoints id 2147483648")).Refusal, Replies::SetPointsUsage);
  EXPECT_EQ(ParseSetPoints(SplitCommand(u"SetPoints id -7")).Amount, -7);
}

TEST(CommandArgs, ChangeKitAmountTakesAnOptionalAmount) {
  EXPECT_EQ(ParseChangeKitAmount(SplitCommand(u"ChangeKitAmount id")).Refusal, Replies::ChangeKitAmountUsage);
  const KitArgs plain = ParseChangeKitAmount(SplitCommand(u"ChangeKitAmount id Kit,2"));
  EXPECT_TRUE(plain.Refusal.empty());
  EXPECT_EQ(plain.PacketText, u"Kit,2");
  EXPECT_EQ(plain.Amount, 0) << "0: the packet string's own amount";
  EXPECT_EQ(ParseChangeKitAmount(SplitCommand(u"ChangeKitAmount id Kit x")).Amount, 0);
  EXPECT_EQ(ParseChangeKitAmount(SplitCommand(u"ChangeKitAmount id Kit -3")).Amount, -3);
  EXPECT_EQ(ParseChangeKitAmount(SplitCommand(u"ChangeKitAmount id Kit 3000000000")).Refusal,
            Replies::ChangeKitAmountUsage);
}

TEST(CommandArgs, ArkshopTransferTakesOneOrSixArguments) {
  for (const char16_t* text : {u"TransferPointsFromArkshop", u"TransferPointsFromArkshop t a",
                               u"TransferPointsFromArkshop t a b c d"})
    EXPECT_EQ(ParseTransferPointsFromArkshop(SplitCommand(text)).Refusal, Replies::ArkshopUsage);
  const ArkshopArgs own = ParseTransferPointsFromArkshop(SplitCommand(u"TransferPointsFromArkshop Players"));
  EXPECT_TRUE(own.Refusal.empty());
  EXPECT_TRUE(own.OwnDatabase);
  EXPECT_EQ(own.Table, "Players");
  const ArkshopArgs other =
      ParseTransferPointsFromArkshop(SplitCommand(u"TransferPointsFromArkshop T h\u00e9 u p db 3307 extra"));
  EXPECT_FALSE(other.OwnDatabase);
  EXPECT_EQ(other.Server, "h\xc3\xa9");
  EXPECT_EQ(other.Database, "db");
  EXPECT_EQ(other.Port, 3307u);
  EXPECT_EQ(ParseTransferPointsFromArkshop(SplitCommand(u"TransferPointsFromArkshop T h u p db 70000")).Refusal,
            Replies::ArkshopUsage);
}

TEST(ItemBlueprintText, ClassPathBecomesABlueprintReference) {
  EXPECT_EQ(ItemBlueprintText(u"/Game/Items/PrimalItem_Stone.Default__PrimalItem_Stone_C"),
            u"Blueprint'/Game/Items/PrimalItem_Stone.PrimalItem_Stone'");
  EXPECT_EQ(ItemBlueprintText(u"/Game/A.Default__A_c"), u"Blueprint'/Game/A.A'");
  EXPECT_EQ(ItemBlueprintText(u"/Game/A.Default__A"), u"Blueprint'/Game/A.A'");
  EXPECT_EQ(ItemBlueprintText(u""), u"");
}

}  // namespace
