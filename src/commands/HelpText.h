#pragma once
// "TandorShop.help": every command with its arguments, one per line.
#include <string>

namespace CommandHandler {

std::string HelpText();

}  // namespace CommandHandler
