// Calendar windows of a packet: "ExtraTimeSettings" with its "Include" and
// "Exclude" filters such as "wday:6,7|month:12".
#include <stdexcept>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "config/CatalogueJson.h"
#include "config/CatalogueReader.h"
#include "config/TextSplit.h"

namespace ConfigHelper {
namespace {

enum class FilterField { WeekDay, MonthDay, Month };

struct FilterPrefix {
  std::u16string_view Text;
  FilterField Field;
};

constexpr FilterPrefix Prefixes[] = {
    {u"wday:", FilterField::WeekDay}, {u"mday:", FilterField::MonthDay}, {u"month:", FilterField::Month}};

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && CompareIgnoreCase(text.substr(0, prefix.size()), prefix) == 0;
}

void Append(ConfigTimeFilter& filter, FilterField field, int32_t value) {
  switch (field) {
    case FilterField::WeekDay: filter.WeekDays.Add(value == 7 ? 0 : value); break;
    case FilterField::MonthDay: filter.MonthDays.Add(value); break;
    case FilterField::Month: filter.Months.Add(value - 1); break;
  }
}

// Appends the numbers of one "prefix:n,n,..." part; returns how many.
int ParseFilterPart(std::u16string_view part, ConfigTimeFilter& filter) {
  for (const FilterPrefix& prefix : Prefixes) {
    if (!StartsWithIgnoreCase(part, prefix.Text)) continue;
    int appended = 0;
    for (const std::u16string_view piece : Text::Split(part.substr(prefix.Text.size()), u',', false)) {
      if (!Text::IsDigits(piece)) continue;
      const auto value = Text::DigitsToInt32(piece);
      if (!value) throw Json::ConfigValueError(fmt::format("time filter number {} does not fit a 32-bit integer",
                                                           Utf16ToUtf8(piece)));
      Append(filter, prefix.Field, *value);
      ++appended;
    }
    return appended;
  }
  return 0;
}

}  // namespace

bool ParseTimeFilter(const FString& text, ConfigTimeFilter& filter) {
  int appended = 0;
  for (const std::u16string_view part : Text::Split(text.View(), u'|', false)) appended += ParseFilterPart(part, filter);
  return appended > 0;
}

void ReadExtraTimeSettings(const nlohmann::json& packetEntry, ConfigShopPacket& packet, ConfigCatalogue& config) {
  if (!Json::Has(packetEntry, "ExtraTimeSettings")) return;
  const auto& settings = Json::RequireObject(packetEntry.at("ExtraTimeSettings"), "ExtraTimeSettings");
  const FString include = Json::ReadText(settings, "Include");
  const FString exclude = Json::ReadText(settings, "Exclude");
  if (include.IsEmpty() && exclude.IsEmpty()) return;

  ConfigExtraTimeSettings record;
  record.PacketId = packet.Id;
  record.HasInclude = ParseTimeFilter(include, record.Include);
  record.HasExclude = ParseTimeFilter(exclude, record.Exclude);
  if (!record.HasInclude && !record.HasExclude) return;
  config.ExtraTimeSettings.Add(std::move(record));
  packet.HasExtraTimeSettings = true;
}

}  // namespace ConfigHelper
