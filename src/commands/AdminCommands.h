#pragma once
// The logic of each admin command: it takes the full command text (command name
// included), does what the command does and returns the reply as UTF-8 text.
// Game thread. Every command replies after its database work has finished, so the
// reply says what happened; each waits for one short operation of its own.
#include <string>
#include <string_view>

namespace CommandHandler {

std::string addPointsInternal(std::u16string_view text);
std::string setPointsInternal(std::u16string_view text);
std::string getPlayerPointsInternal(std::u16string_view text);
std::string resetKitsInternal(std::u16string_view text);
std::string resetPointsInternal(std::u16string_view text);
std::string changeKitAmountInternal(std::u16string_view text);
std::string transferPointsFromArkshopInternal(std::u16string_view text);

}  // namespace CommandHandler
