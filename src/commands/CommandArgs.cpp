#include "commands/CommandArgs.h"

#include <limits>

namespace CommandHandler {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool AllDigits(std::u16string_view text) {
  if (text.empty()) return false;
  for (char16_t c : text)
    if (!IsDigit(c)) return false;
  return true;
}

// The value of a run of digits, or nullopt once it passes limit.
std::optional<uint64_t> DigitsValue(std::u16string_view digits, uint64_t limit) {
  uint64_t value = 0;
  for (char16_t c : digits) {
    value = value * 10 + static_cast<uint64_t>(c - u'0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

Pieces SplitCommand(std::u16string_view text) {
  Pieces pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t blank = text.find(u' ', start);
    const std::size_t end = blank == std::u16string_view::npos ? text.size() : blank;
    if (end > start) pieces.emplace_back(text.substr(start, end - start));
    if (blank == std::u16string_view::npos) break;
    start = blank + 1;
  }
  return pieces;
}

Amount ParseAmount(std::u16string_view piece) {
  const bool negative = piece.size() >= 2 && piece.front() == u'-';
  const std::u16string_view digits = negative ? piece.substr(1) : piece;
  if (!AllDigits(digits)) return {};
  const uint64_t limit = negative ? uint64_t{1} << 31 : uint64_t{std::numeric_limits<int32_t>::max()};
  const std::optional<uint64_t> value = DigitsValue(digits, limit);
  if (!value) return {AmountKind::OutOfRange, 0};
  const int64_t signedValue = negative ? -static_cast<int64_t>(*value) : static_cast<int64_t>(*value);
  return {AmountKind::Valid, static_cast<int32_t>(signedValue)};
}

std::u16string AdminLogText(const Pieces& pieces) {
  std::u16string text;
  for (std::size_t i = 3; i < pieces.size(); ++i) {
    text += pieces[i];
    text += u' ';
  }
  return text;
}

std::optional<uint32_t> ParsePort(std::u16string_view piece) {
  if (!AllDigits(piece)) return std::nullopt;
  const std::optional<uint64_t> value = DigitsValue(piece, 65535);
  if (!value) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

}  // namespace CommandHandler
