#include "config/JsonRead.h"

namespace ConfigHelper::Json {

const nlohmann::json& Section(const nlohmann::json& parent, const char* key) {
  static const nlohmann::json null;
  if (!parent.is_object()) return null;
  auto it = parent.find(key);
  return it == parent.end() ? null : *it;
}

FString Text(const nlohmann::json& object, const char* key, const char* fallback) {
  return FString::FromUtf8(object.value(key, std::string(fallback)));
}

TArray<FString> TextList(const nlohmann::json& object, const char* key) {
  TArray<FString> list;
  const auto texts = object.value(key, std::vector<std::string>{});
  for (const std::string& text : texts) list.Add(FString::FromUtf8(text));
  return list;
}

int32_t HoursToSeconds(const nlohmann::json& object, const char* key, float fallbackHours) {
  const float hours = object.value(key, fallbackHours);
  return static_cast<int32_t>(hours * 3600.0f);
}

}  // namespace ConfigHelper::Json
