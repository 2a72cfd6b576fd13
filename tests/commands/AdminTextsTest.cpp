// Quoted arguments and the audit line of admin commands.
#include <gmock/gmock.h>

#include "commands/AuditLine.h"
#include "commands/QuotedArgs.h"

namespace {

using CommandHandler::Pieces;

TEST(QuotedArgs, QuotesKeepBlanksAndEverythingElseSplitsAsBefore) {
  EXPECT_EQ(CommandHandler::SplitQuotedCommand(u"ChangeKitAmount ann \"Starter Kit\" 1"),
            (Pieces{u"ChangeKitAmount", u"ann", u"Starter Kit", u"1"}));
  EXPECT_EQ(CommandHandler::SplitQuotedCommand(u"ChangeKitAmount ann \"Supporter Monthly\""),
            (Pieces{u"ChangeKitAmount", u"ann", u"Supporter Monthly"}));
  for (std::u16string_view text : {u"ChangeKitAmount ann Kit,1;Stone;; -2", u"  a   b  ", u"", u"x"})
    EXPECT_EQ(CommandHandler::SplitQuotedCommand(text), CommandHandler::SplitCommand(text));
  EXPECT_EQ(CommandHandler::SplitQuotedCommand(u"c ann \"\" 1"), (Pieces{u"c", u"ann", u"", u"1"}));
  EXPECT_EQ(CommandHandler::SplitQuotedCommand(u"c ann \"Starter Kit"), (Pieces{u"c", u"ann", u"Starter Kit"}))
      << "an unclosed quote runs to the end";
  EXPECT_EQ(CommandHandler::SplitQuotedCommand(u"c \"Kit A\",2;;; a\"b"), (Pieces{u"c", u"Kit A,2;;;", u"a\"b"}));
}

TEST(AuditLine, NamesWhoAndWhatAndNeverThePassword) {
  EXPECT_EQ(CommandHandler::AuditLine(CommandHandler::RconIssuer("127.0.0.1:5000"), u"AddPoints  ann 5 event",
                                      "Added 5 points to eosId ann.\n"),
            "RCON 127.0.0.1:5000: AddPoints ann 5 event: Added 5 points to eosId ann.");
  EXPECT_EQ(CommandHandler::AuditLine(CommandHandler::ConsoleIssuer("0002boss", "Boss"),
                                      u"ChangeKitAmount ann \"Starter Kit\" 1", "Adding packet to player."),
            "console 0002boss (Boss): ChangeKitAmount ann \"Starter Kit\" 1: Adding packet to player.");
  const std::string arkshop = CommandHandler::AuditLine(
      "RCON", u"TransferPointsFromArkshop points db.example admin hunter2 ark 3306", "Imported 3 players.");
  EXPECT_EQ(arkshop, "RCON: TransferPointsFromArkshop points db.example admin *** ark 3306: Imported 3 players.");

  EXPECT_TRUE(CommandHandler::ChangesSomething(u"resetpoints"));
  EXPECT_TRUE(CommandHandler::ChangesSomething(u"ChangeKitAmount ann Kit"));
  EXPECT_FALSE(CommandHandler::ChangesSomething(u"GetPlayerPoints ann"));
  EXPECT_FALSE(CommandHandler::ChangesSomething(u""));
}

}  // namespace
