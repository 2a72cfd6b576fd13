#include "config/CatalogueJson.h"

#include <cfloat>
#include <cmath>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace ConfigHelper::Json {
namespace {

using nlohmann::json;

[[noreturn]] void WrongType(const json& value, const char* key, const char* expected) {
  throw ConfigValueError(fmt::format("type must be {}, but is {} (key \"{}\")", expected, value.type_name(), key));
}

[[noreturn]] void DoesNotFit(const char* key, const std::string& value, const char* target) {
  throw ConfigValueError(fmt::format("number {} does not fit {} (key \"{}\")", value, target, key));
}

const json* Find(const json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

const std::string& StringValue(const json& value, const char* key) {
  if (!value.is_string()) WrongType(value, key, "string");
  return value.get_ref<const std::string&>();
}

// Truncates toward zero; values outside int32 (or not finite) throw.
int32_t TruncateToInt32(double value, const char* key) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) DoesNotFit(key, fmt::format("{}", value), "a 32-bit integer");
  return static_cast<int32_t>(value);
}

}  // namespace

bool Has(const json& object, const char* key) { return Find(object, key) != nullptr; }

FString ReadText(const json& object, const char* key, const char* fallback) {
  const json* value = Find(object, key);
  if (value == nullptr) return FString::FromUtf8(fallback);
  return FString::FromUtf8(StringValue(*value, key));
}

std::string ReadString(const json& object, const char* key, const std::string& fallback) {
  const json* value = Find(object, key);
  return value == nullptr ? fallback : StringValue(*value, key);
}

ConfigAssetPath ReadAssetPath(const json& object, const char* key) {
  ConfigAssetPath path;
  path.Path = ReadText(object, key);
  return path;
}

bool ReadBool(const json& object, const char* key, bool fallback) {
  const json* value = Find(object, key);
  if (value == nullptr) return fallback;
  if (!value->is_boolean()) WrongType(*value, key, "boolean");
  return value->get<bool>();
}

int32_t ReadInt32(const json& object, const char* key, int32_t fallback) {
  const json* value = Find(object, key);
  if (value == nullptr) return fallback;
  if (value->is_number_unsigned()) {
    const auto number = value->get<std::uint64_t>();
    if (number > static_cast<std::uint64_t>(INT32_MAX)) DoesNotFit(key, std::to_string(number), "a 32-bit integer");
    return static_cast<int32_t>(number);
  }
  if (value->is_number_integer()) {
    const auto number = value->get<std::int64_t>();
    if (number < INT32_MIN || number > INT32_MAX) DoesNotFit(key, std::to_string(number), "a 32-bit integer");
    return static_cast<int32_t>(number);
  }
  if (value->is_number_float()) return TruncateToInt32(value->get<double>(), key);
  WrongType(*value, key, "number");
}

float ReadFloat(const json& object, const char* key, float fallback) {
  const json* value = Find(object, key);
  if (value == nullptr) return fallback;
  if (!value->is_number()) WrongType(*value, key, "number");
  const auto number = value->get<double>();
  if (!(std::fabs(number) <= FLT_MAX)) DoesNotFit(key, fmt::format("{}", number), "a float");
  return static_cast<float>(number);
}

int32_t ReadHoursAsSeconds(const json& object, const char* key, float fallbackHours) {
  const float seconds = ReadFloat(object, key, fallbackHours) * 3600.f;
  return TruncateToInt32(static_cast<double>(seconds), key);
}

TArray<FString> ReadTextList(const json& object, const char* key) {
  TArray<FString> list;
  const json& array = ArrayOrNull(object, key);
  if (array.is_null()) return list;
  list.Reserve(static_cast<int32_t>(array.size()));
  for (const json& element : array) list.Add(FString::FromUtf8(StringValue(element, key)));
  return list;
}

const json& ArrayOrNull(const json& object, const char* key) {
  static const json null;
  const json* value = Find(object, key);
  if (value == nullptr || value->is_null()) return null;
  if (!value->is_array()) WrongType(*value, key, "array");
  return *value;
}

const json& RequireObject(const json& value, const char* what) {
  if (!value.is_object()) WrongType(value, what, "object");
  return value;
}

}  // namespace ConfigHelper::Json
