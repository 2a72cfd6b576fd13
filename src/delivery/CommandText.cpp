#include "delivery/CommandText.h"

#include <fmt/args.h>
#include <fmt/format.h>

namespace DeliveryHelper {

std::optional<std::string> FormatCommandText(const std::string& templateText, int32_t tribeId, uint64_t playerId,
                                             const std::string& eosId) {
  try {
    return fmt::format(fmt::runtime(templateText), fmt::arg("tribeid", tribeId), fmt::arg("playerid", playerId),
                       fmt::arg("eos_id", eosId), fmt::arg("eosid", eosId));
  } catch (const fmt::format_error&) {
    return std::nullopt;
  }
}

}  // namespace DeliveryHelper
