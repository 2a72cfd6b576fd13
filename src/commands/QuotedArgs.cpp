#include "commands/QuotedArgs.h"

#include <algorithm>

namespace CommandHandler {

Pieces SplitQuotedCommand(std::u16string_view text) {
  Pieces pieces;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == u' ') {
      ++at;
      continue;
    }
    std::u16string piece;
    if (text[at] == u'"') {
      const std::size_t close = text.find(u'"', at + 1);
      const std::size_t end = close == std::u16string_view::npos ? text.size() : close;
      piece.assign(text.substr(at + 1, end - at - 1));
      at = close == std::u16string_view::npos ? text.size() : close + 1;
      // Characters right after the closing quote belong to the same piece.
      const std::size_t blank = std::min(text.find(u' ', at), text.size());
      piece.append(text.substr(at, blank - at));
      at = blank;
    } else {
      const std::size_t blank = std::min(text.find(u' ', at), text.size());
      piece.assign(text.substr(at, blank - at));
      at = blank;
    }
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

}  // namespace CommandHandler
