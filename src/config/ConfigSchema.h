#pragma once
// The keys the reader knows, section by section, so that a misspelled key or
// section (which the reader would silently ignore) can be reported with the
// closest known name.
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "config/ReadReport.h"

namespace ConfigHelper {

// Every key of the document that the reader does not know, as a warning under
// the entry that holds it: "unknown key \"Prise\" (did you mean Price?)".
std::vector<ConfigProblem> FindUnknownKeys(const nlohmann::json& root);

// The known name closest to `word` (ignoring case), or empty when none is close
// enough to be a likely misspelling.
std::string ClosestName(const std::string& word, const std::vector<std::string>& known);

}  // namespace ConfigHelper
