#pragma once
// Reading keys of the configuration: the value of the key, or the default when
// the key is absent. A present key of the wrong JSON type throws.
#include <string>

#include <nlohmann/json.hpp>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"

namespace ConfigHelper::Json {

// A section taken by name; an absent one counts as null (no elements, and
// reading a key from it throws).
const nlohmann::json& Section(const nlohmann::json& parent, const char* key);

template <typename T>
T Value(const nlohmann::json& object, const char* key, const T& fallback) {
  return object.value(key, fallback);
}

FString Text(const nlohmann::json& object, const char* key, const char* fallback = "");
TArray<FString> TextList(const nlohmann::json& object, const char* key);

// Hours as a float times 3600, truncated to whole seconds.
int32_t HoursToSeconds(const nlohmann::json& object, const char* key, float fallbackHours);

}  // namespace ConfigHelper::Json
