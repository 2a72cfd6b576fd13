#pragma once
// Calendar days (UTC) and the time arguments of the command line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace report {

constexpr int64_t kSecondsPerDay = 86400;

// The day (days since 1970-01-01, UTC) of a time in seconds since 1970.
int64_t DayOf(int64_t seconds);
// "YYYY-MM-DD" of a day number.
std::string DayText(int64_t day);
// "YYYY-MM-DD HH:MM:SS" (UTC) of a time in seconds since 1970.
std::string TimeText(int64_t seconds);

// A time argument: a span back from now ("30d", "12h", "2w", "90m"), a date
// ("2026-11-01", midnight UTC), a date and time ("2026-11-01T12:00:00" or with a
// blank) or seconds since 1970. Nothing when it is none of these or out of range.
std::optional<int64_t> ParseTimeArgument(std::string_view text, int64_t now);

}  // namespace report
