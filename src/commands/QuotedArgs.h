#pragma once
// Command lines whose arguments may be quoted: ChangeKitAmount ann "Starter Kit" 1.
#include <string_view>

#include "commands/CommandArgs.h"

namespace CommandHandler {

// As SplitCommand (single blanks, empty pieces dropped), except that a piece
// that starts with a double quote runs to the next double quote, blanks
// included, without the quotes ("" is an empty piece). An unclosed quote runs to
// the end of the text. A quote inside a piece is an ordinary character.
Pieces SplitQuotedCommand(std::u16string_view text);

}  // namespace CommandHandler
