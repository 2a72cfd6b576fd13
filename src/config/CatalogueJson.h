#pragma once
// Typed reads of keys from the configuration's JSON objects.
//
// A key is present when the object has it, whatever its value. An absent key
// gives the default. A present key whose value has the wrong JSON type, or a
// number that does not fit its field, throws a ConfigValueError; the reader
// reports it under the entry being read and leaves that entry out.
#include <cstdint>
#include <stdexcept>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "config/CatalogueRecords.h"

namespace ConfigHelper::Json {

class ConfigValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool Has(const nlohmann::json& object, const char* key);

FString ReadText(const nlohmann::json& object, const char* key, const char* fallback = "");
// The text as written in the file (UTF-8), for settings that stay narrow.
std::string ReadString(const nlohmann::json& object, const char* key, const std::string& fallback = "");
ConfigAssetPath ReadAssetPath(const nlohmann::json& object, const char* key);
bool ReadBool(const nlohmann::json& object, const char* key, bool fallback);
int32_t ReadInt32(const nlohmann::json& object, const char* key, int32_t fallback);
float ReadFloat(const nlohmann::json& object, const char* key, float fallback);
// A number of hours held as whole seconds: hours × 3600 in float, truncated.
int32_t ReadHoursAsSeconds(const nlohmann::json& object, const char* key, float fallbackHours = 0.f);
TArray<FString> ReadTextList(const nlohmann::json& object, const char* key);

// The array under `key`: null when absent (or null), so that iterating it gives
// nothing. Any other non-array value throws.
const nlohmann::json& ArrayOrNull(const nlohmann::json& object, const char* key);
// Throws unless `value` is a JSON object; `what` names it in the error.
const nlohmann::json& RequireObject(const nlohmann::json& value, const char* what);

}  // namespace ConfigHelper::Json
