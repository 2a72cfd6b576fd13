// The game's UTF-16 text and the database's UTF-8, converted by the plugin,
// agree with Windows' own converters, outside the Basic Multilingual Plane too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AsaApi/FString.h"
#include "WindowsTestSupport.h"
#include "core/TextConversion.h"

namespace {

std::u16string FromWide(const std::wstring& wide) { return std::u16string(wide.begin(), wide.end()); }

const std::vector<std::wstring>& Names() {
  static const std::vector<std::wstring> names = {
      L"plain", L"J\u00fcrgen \u00c6sir", L"\u0421\u0435\u0440\u0433\u0435\u0439",
      L"\u738b\u5c0f\u660e", L"\u0645\u062d\u0645\u062f", L"Rex \U0001F996 \U0001F525",
      L"\uFEFFbom", L"edge \uFFFD \u07FF \u0800 \uFFFF"};
  return names;
}

TEST(WindowsText, GameTextToDatabaseAgreesWithWindows) {
  for (const std::wstring& name : Names()) {
    const FString text(FromWide(name));
    EXPECT_EQ(DBHelper::ToUtf8(text), wintest::Utf8FromWide(name));
    EXPECT_EQ(text.ToUtf8(), wintest::Utf8FromWide(name));
  }
}

TEST(WindowsText, DatabaseTextToGameAgreesWithWindows) {
  for (const std::wstring& name : Names()) {
    const std::string utf8 = wintest::Utf8FromWide(name);
    EXPECT_EQ(DBHelper::FromDatabase(utf8).View(), FromWide(name));
  }
}

TEST(WindowsText, StoredNamesDropSemicolonsAndKeepTheRest) {
  const std::wstring name = L"a;\u00e9;\U0001F996";
  EXPECT_EQ(DBHelper::CleanName(FString(FromWide(name))), wintest::Utf8FromWide(L"a\u00e9\U0001F996"));
  EXPECT_EQ(DBHelper::ToNarrow(FString(FromWide(name))), "a;?;??") << "one ? per UTF-16 unit";
}

TEST(WindowsText, ColumnsAreCutAtCharacterBoundaries) {
  const std::string utf8 = wintest::Utf8FromWide(L"\u00e9\U0001F996x");
  EXPECT_EQ(DBHelper::FitColumn(utf8, 2), wintest::Utf8FromWide(L"\u00e9\U0001F996"));
  EXPECT_EQ(DBHelper::FitColumn(utf8, 1), wintest::Utf8FromWide(L"\u00e9"));
}

}  // namespace
