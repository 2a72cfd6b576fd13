#include "commands/AuditLine.h"

#include <array>

#include <fmt/format.h>

#include "commands/CommandArgs.h"
#include "commands/QuotedArgs.h"
#include "core/Log.h"
#include "AsaApi/FString.h"

namespace CommandHandler {
namespace {

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

constexpr std::array<std::u16string_view, 6> kChanging = {u"AddPoints", u"SetPoints",  u"ChangeKitAmount",
                                                          u"ResetKits", u"ResetPoints", u"TransferPointsFromArkshop"};

// TransferPointsFromArkshop <table> <server> <username> <password> ...
constexpr std::size_t kArkshopPasswordPiece = 4;

}  // namespace

bool ChangesSomething(std::u16string_view commandText) {
  const Pieces pieces = SplitCommand(commandText);
  if (pieces.empty()) return false;
  for (std::u16string_view name : kChanging)
    if (SameIgnoringCase(pieces[0], name)) return true;
  return false;
}

std::string AuditLine(const std::string& who, std::u16string_view commandText, const std::string& outcome) {
  const bool quoted = commandText.find(u'"') != std::u16string_view::npos;
  const Pieces pieces = quoted ? SplitQuotedCommand(commandText) : SplitCommand(commandText);
  const bool arkshop = !pieces.empty() && SameIgnoringCase(pieces[0], u"TransferPointsFromArkshop");
  std::string command;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) command += ' ';
    std::string piece = arkshop && i == kArkshopPasswordPiece ? std::string("***") : Utf16ToUtf8(pieces[i]);
    if (piece.find(' ') != std::string::npos || piece.empty()) piece = '"' + piece + '"';
    command += piece;
  }
  std::string result = outcome;
  while (!result.empty() && (result.back() == '\n' || result.back() == ' ')) result.pop_back();
  return fmt::format("{}: {}: {}", who, command, result);
}

std::string RconIssuer(const std::string& address) {
  return address.empty() ? std::string("RCON") : fmt::format("RCON {}", address);
}

std::string ConsoleIssuer(const std::string& eosId, const std::string& name) {
  return fmt::format("console {} ({})", eosId, name);
}

void LogIfChanging(const std::string& who, std::u16string_view commandText, const std::string& outcome) {
  if (ChangesSomething(commandText)) TandorShop::Log().info(AuditLine(who, commandText, outcome));
}

}  // namespace CommandHandler
