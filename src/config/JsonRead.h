#pragma once
// Sections of the configuration document.
#include <nlohmann/json.hpp>


namespace ConfigHelper::Json {

// A section taken by name; an absent one counts as null (no elements, and
// reading a key from it throws).
const nlohmann::json& Section(const nlohmann::json& parent, const char* key);

}  // namespace ConfigHelper::Json
