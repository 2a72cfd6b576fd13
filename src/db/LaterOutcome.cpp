// Reading the outcome of a statement that was sent later, with another.
#include "db/DBQueries.h"

namespace DBHelper {

std::optional<uint64_t> MatchedRows(const LaterOutcome& outcome) {
  if (!outcome || !outcome->fetched) return std::nullopt;
  return outcome->affected;
}

int64_t FirstNumber(const LaterOutcome& outcome, int64_t fallback) {
  if (!outcome || !outcome->fetched || outcome->rows.empty()) return fallback;
  int64_t value = fallback;
  mysql::row_view(outcome->rows.front()).get(0, value);
  return value;
}

}  // namespace DBHelper
