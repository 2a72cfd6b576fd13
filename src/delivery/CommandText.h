#pragma once
// The text of a command variant with the player's ids filled in.
#include <cstdint>
#include <optional>
#include <string>

namespace DeliveryHelper {

// Fills {tribeid}, {playerid}, {eos_id} and {eosid} into the UTF-8 template;
// none when the template names anything else or its braces do not balance.
std::optional<std::string> FormatCommandText(const std::string& templateText, int32_t tribeId, uint64_t playerId,
                                             const std::string& eosId);

}  // namespace DeliveryHelper
