#pragma once
// Plain parsing of admin command texts: the pieces of a command line, amounts,
// the admin log text and ports. No game or database access.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CommandHandler {

using Pieces = std::vector<std::u16string>;

// The command text split on single blanks, empty pieces dropped. Piece 0 is the
// command name, the rest are its arguments.
Pieces SplitCommand(std::u16string_view text);

enum class AmountKind {
  Valid,       // decimal digits, optionally after one leading "-", within 32 bits
  Unreadable,  // empty, a lone "-", or anything but digits
  OutOfRange,  // well-formed, but beyond the 32-bit signed range
};

struct Amount {
  AmountKind Kind = AmountKind::Unreadable;
  int32_t Value = 0;  // 0 unless Valid
};

Amount ParseAmount(std::u16string_view piece);

// Every piece from the fourth on, each followed by one blank ("event win " for
// the pieces event and win); empty with three pieces or fewer.
std::u16string AdminLogText(const Pieces& pieces);

// A port: decimal digits, 0 to 65535 (0: the client library's default port).
std::optional<uint32_t> ParsePort(std::u16string_view piece);

}  // namespace CommandHandler
