#pragma once
// The keys the reader knows, section by section, with the documented default
// of each setting. The reader takes its defaults from here, the checker reports
// a misspelled key or section (which the reader would silently ignore) with the
// closest known name, and the suite holds the configuration reference to it.
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "config/ReadReport.h"

namespace ConfigHelper {

// One key of a section and its default: the value it takes when absent, and
// when its value has the wrong type. Null: the key is required, absent means
// "not set", or its default is not one value (those are not settings).
struct SchemaKey {
  SchemaKey(const char* name, nlohmann::json fallback = nullptr) : Name(name), Default(std::move(fallback)) {}
  std::string Name;
  nlohmann::json Default;
};

// The keys of a section, by the name of its table in the reference: "TopLevel",
// "Mysql", "General", "PreventOptions", "Messages", "GroupPrivileges",
// "ShopCategories", "ShopPackets", "ItemVariants", "DinoVariants",
// "CommandVariants", "ItemsToSell", "RewardPackets" (and the inner objects:
// "DiscordLog", "DiscordKind", "ButtonOverwrites", "Button", "ExtraTimeSettings",
// "ExtraOptions", "GachaResource", "Stryder"). Null for another name.
const std::vector<SchemaKey>* SchemaSection(std::string_view section);

// The default of a key of a section; throws std::out_of_range for a key the
// section does not have.
const nlohmann::json& SchemaDefault(std::string_view section, std::string_view key);

// Every key of the document that the reader does not know, as a warning under
// the entry that holds it: "unknown key \"Prise\" (did you mean Price?)".
std::vector<ConfigProblem> FindUnknownKeys(const nlohmann::json& root);

// The known name closest to `word` (ignoring case), or empty when none is close
// enough to be a likely misspelling.
std::string ClosestName(const std::string& word, const std::vector<std::string>& known);

}  // namespace ConfigHelper
