// The configuration reference and the admin guides read against the program:
// a key the reference lists must be one the reader knows, with the default the
// reader uses, and a reply the guides quote must be a text the program sends.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "config/ConfigSchema.h"

namespace {

namespace fs = std::filesystem;

const fs::path Root = TANDORSHOP_SOURCE_DIR;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// One markdown table: the heading it stands under (a "## " heading, or a bold
// paragraph opener such as "**Item variants**" below it), its header and rows.
struct Table {
  std::string Section;
  std::vector<std::string> Header;
  std::vector<std::vector<std::string>> Rows;
};

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::string cell;
  bool inCode = false;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '`') inCode = !inCode;
    if (c == '|' && !inCode) {
      cells.push_back(Trim(cell));
      cell.clear();
    } else {
      cell += c;
    }
  }
  return cells;
}

std::vector<Table> Tables(const std::string& markdown) {
  std::vector<Table> tables;
  std::string section;
  bool inTable = false;
  std::istringstream lines(markdown);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("## ", 0) == 0) section = Trim(line.substr(3));
    static const std::regex boldOpener(R"(^\*\*([A-Z][a-z]+ variants)\*\*)");
    std::smatch bold;
    if (std::regex_search(line, bold, boldOpener)) section = bold[1];
    if (line.rfind("|", 0) != 0) {
      inTable = false;
      continue;
    }
    if (!inTable) {
      tables.push_back({section, Cells(line), {}});
      inTable = true;
    } else if (line.rfind("|---", 0) != 0 && line.rfind("|-", 0) != 0) {
      tables.back().Rows.push_back(Cells(line));
    }
  }
  return tables;
}

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) found.push_back((*it)[1]);
  return found;
}

// The default as the reference writes it: "text", 30, true, [].
std::string Written(const nlohmann::json& value) {
  if (value.is_string()) return "\"" + value.get<std::string>() + "\"";
  return value.dump();
}

const std::map<std::string, std::string> SchemaOfSection = {
    {"Top level", "TopLevel"},           {"Mysql", "Mysql"},
    {"General", "General"},              {"Messages", "Messages"},
    {"GroupPrivileges", "GroupPrivileges"}, {"ShopCategories", "ShopCategories"},
    {"ShopPackets", "ShopPackets"},      {"Item variants", "ItemVariants"},
    {"Creature variants", "DinoVariants"}, {"Command variants", "CommandVariants"},
    {"ItemsToSell", "ItemsToSell"},      {"RewardPackets", "RewardPackets"}};

TEST(ConfigurationReference, EveryKeyIsASchemaKeyWithTheSameDefaultAndNoneIsMissing) {
  const auto tables = Tables(ReadFile(Root / "docs/configuration.md"));
  ASSERT_GE(tables.size(), SchemaOfSection.size());
  std::set<std::string> checked;
  for (const Table& table : tables) {
    const auto mapped = SchemaOfSection.find(table.Section);
    ASSERT_NE(mapped, SchemaOfSection.end()) << "a table under \"" << table.Section << "\" that no schema section holds";
    const auto* keys = ConfigHelper::SchemaSection(mapped->second);
    ASSERT_NE(keys, nullptr) << mapped->second;
    checked.insert(table.Section);
    std::size_t defaultColumn = 0;
    for (std::size_t i = 0; i < table.Header.size(); ++i)
      if (table.Header[i] == "default") defaultColumn = i;
    ASSERT_NE(defaultColumn, 0u) << table.Section << ": no default column";

    std::set<std::string> documented;
    for (const auto& row : table.Rows) {
      const auto names = Matches(row[0], std::regex("`([A-Za-z]+)`"));
      ASSERT_FALSE(names.empty()) << table.Section << ": " << row[0];
      for (const std::string& name : names) {
        documented.insert(name);
        const nlohmann::json* fallback = nullptr;
        for (const auto& key : *keys)
          if (key.Name == name) fallback = &key.Default;
        if (fallback == nullptr) {
          ADD_FAILURE() << table.Section << ": `" << name << "` is not a key the reader knows";
          continue;
        }
        if (fallback->is_null()) continue;
        const std::string cell = row[defaultColumn];
        const std::string written = Written(*fallback);
        EXPECT_TRUE(cell == written || cell.rfind(written + " ", 0) == 0)
            << table.Section << ": `" << name << "` is documented with the default " << cell
            << " but the reader uses " << written;
      }
    }
    for (const auto& key : *keys)
      EXPECT_TRUE(documented.count(key.Name)) << table.Section << ": the reader's key `" << key.Name
                                              << "` is missing from the reference";
  }
  EXPECT_EQ(checked.size(), SchemaOfSection.size()) << "a section of the reference lost its table";
}

// Every string literal of the sources, adjacent literals joined as the compiler does.
std::vector<std::string> SourceTexts() {
  std::vector<std::string> texts;
  static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
  for (const auto& entry : fs::recursive_directory_iterator(Root / "src")) {
    const auto extension = entry.path().extension();
    if (extension != ".cpp" && extension != ".h") continue;
    // Character literals first: a '"' would pair with the next string's quote.
    const std::string code =
        std::regex_replace(ReadFile(entry.path()), std::regex(R"((^|[^A-Za-z0-9_])(u|U|L|u8)?'(?:[^'\\\n]|\\[^\n]{1,4})')"), "$1 ");
    std::size_t previousEnd = std::string::npos;
    for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it) {
      std::string text = std::regex_replace((*it)[1].str(), std::regex(R"(\\(["\\]))"), "$1");
      const auto start = static_cast<std::size_t>(it->position());
      const bool adjacent = previousEnd != std::string::npos &&
                            code.find_first_not_of(" \t\r\n", previousEnd) == start;
      if (adjacent)
        texts.back() += text;
      else
        texts.push_back(std::move(text));
      previousEnd = start + static_cast<std::size_t>(it->length());
    }
  }
  return texts;
}

// A literal with fmt fields ("{}", "{amount}") sends any text in their place;
// one that is little more than fields ("{}: {}") says nothing of a reply.
bool CanSend(const std::vector<std::string>& texts, const std::string& reply) {
  static const std::regex special(R"([.^$|()\[\]*+?\\{}])");
  static const std::regex field(R"(\\\{[A-Za-z_0-9]*\\\})");
  static const std::regex bareField(R"(\{[A-Za-z_0-9]*\})");
  for (const std::string& text : texts) {
    if (text == reply) return true;
    if (text.find('{') == std::string::npos) continue;
    const std::string fixed = std::regex_replace(text, bareField, "");
    if (std::count_if(fixed.begin(), fixed.end(), [](unsigned char c) { return std::isalpha(c); }) < 6) continue;
    const std::string escaped = std::regex_replace(text, special, "\\$&");
    if (std::regex_match(reply, std::regex(std::regex_replace(escaped, field, ".*")))) return true;
  }
  return false;
}

TEST(AdminGuides, EveryQuotedReplyIsATextTheProgramCanSend) {
  const std::vector<std::string> texts = SourceTexts();
  ASSERT_TRUE(CanSend(texts, "TandorShop config reloaded.")) << "the check itself: fields match any text";
  ASSERT_FALSE(CanSend(texts, "Added points to nobody.")) << "the check itself";
  const std::regex quoted("\"([^\"]+)\"");
  std::size_t replies = 0;
  for (const char* guide : {"docs/admin-commands.md", "docs/arkshop-import.md"}) {
    for (const Table& table : Tables(ReadFile(Root / guide))) {
      const bool commands = !table.Header.empty() && table.Header[0] == "command";
      if (!commands && table.Header[0] != "reply") continue;
      for (const auto& row : table.Rows) {
        for (std::size_t column = commands ? 1 : 0; column < row.size(); ++column) {
          for (const std::string& reply : Matches(row[column], quoted)) {
            ++replies;
            EXPECT_TRUE(CanSend(texts, reply)) << guide << ": \"" << reply << "\" is no text the program sends";
          }
        }
      }
    }
  }
  EXPECT_GE(replies, 20u);
}

}  // namespace
