#include "Days.h"

#include <charconv>
#include <cstdio>

namespace report {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
  int64_t year;
  unsigned month;
  unsigned day;
};

Civil CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

std::optional<int64_t> Number(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// "YYYY-MM-DD" with an optional "THH:MM[:SS]" or " HH:MM[:SS]".
std::optional<int64_t> ParseDate(std::string_view text) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = Number(text.substr(0, 4));
  const auto month = Number(text.substr(5, 2));
  const auto day = Number(text.substr(8, 2));
  if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
  int64_t seconds = DaysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)) * kSecondsPerDay;
  if (text.size() == 10) return seconds;
  if (text[10] != 'T' && text[10] != ' ') return std::nullopt;
  const std::string_view clock = text.substr(11);
  if (clock.size() != 5 && clock.size() != 8) return std::nullopt;
  const auto hour = Number(clock.substr(0, 2));
  const auto minute = Number(clock.substr(3, 2));
  const auto second = clock.size() == 8 ? Number(clock.substr(6, 2)) : std::optional<int64_t>(0);
  if (clock[2] != ':' || (clock.size() == 8 && clock[5] != ':')) return std::nullopt;
  if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59 || *hour < 0 || *minute < 0 ||
      *second < 0)
    return std::nullopt;
  return seconds + *hour * 3600 + *minute * 60 + *second;
}

}  // namespace

int64_t DayOf(int64_t seconds) {
  return seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

std::string DayText(int64_t day) {
  const Civil c = CivilFromDays(day);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(c.year), c.month, c.day);
  return text;
}

std::string TimeText(int64_t seconds) {
  const int64_t day = DayOf(seconds);
  const int64_t rest = seconds - day * kSecondsPerDay;
  char text[48];
  std::snprintf(text, sizeof text, "%s %02lld:%02lld:%02lld", DayText(day).c_str(), static_cast<long long>(rest / 3600),
                static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
  return text;
}

std::optional<int64_t> ParseTimeArgument(std::string_view text, int64_t now) {
  if (text.empty()) return std::nullopt;
  if (text.find('-', 1) != std::string_view::npos) return ParseDate(text);
  const char unit = text.back();
  int64_t scale = 0;
  switch (unit) {
    case 'm': scale = 60; break;
    case 'h': scale = 3600; break;
    case 'd': scale = kSecondsPerDay; break;
    case 'w': scale = 7 * kSecondsPerDay; break;
    default: break;
  }
  if (scale == 0) {
    const auto seconds = Number(text);
    if (!seconds || *seconds < 0) return std::nullopt;
    return seconds;
  }
  const auto count = Number(text.substr(0, text.size() - 1));
  // Up to a hundred years back.
  if (!count || *count < 0 || *count > 36525 * kSecondsPerDay / scale) return std::nullopt;
  return now - *count * scale;
}

}  // namespace report
