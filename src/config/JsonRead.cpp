#include "config/JsonRead.h"

namespace ConfigHelper::Json {

const nlohmann::json& Section(const nlohmann::json& parent, const char* key) {
  static const nlohmann::json null;
  if (!parent.is_object()) return null;
  auto it = parent.find(key);
  return it == parent.end() ? null : *it;
}

}  // namespace ConfigHelper::Json
