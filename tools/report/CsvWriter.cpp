#include "Writers.h"

namespace report {
namespace {

std::string Quote(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string Value(const nlohmann::json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "";
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void Line(std::string& out, const std::string& table, const std::string& row, const std::string& field,
          const nlohmann::json& value) {
  out += Quote(table) + "," + row + "," + Quote(field) + "," + Quote(Value(value)) + "\n";
}

// The fields of one list element, nested objects joined with ".".
void Element(std::string& out, const std::string& table, const std::string& row, const std::string& prefix,
             const nlohmann::json& value) {
  if (value.is_object()) {
    for (const auto& [key, child] : value.items()) Element(out, table, row, prefix.empty() ? key : prefix + "." + key, child);
  } else if (value.is_array()) {
    std::string joined;
    for (const nlohmann::json& child : value) joined += (joined.empty() ? "" : "; ") + Value(child);
    Line(out, table, row, prefix, joined);
  } else {
    Line(out, table, row, prefix.empty() ? "value" : prefix, value);
  }
}

void Walk(std::string& out, const std::string& path, const nlohmann::json& node) {
  for (const auto& [key, value] : node.items()) {
    const std::string here = path.empty() ? key : path + "." + key;
    if (value.is_object()) {
      bool flat = true;
      for (const auto& child : value) flat = flat && !child.is_structured();
      if (flat && !value.empty() && path.empty() == false) {
        for (const auto& [field, child] : value.items()) Line(out, here, "", field, child);
      } else {
        Walk(out, here, value);
      }
    } else if (value.is_array()) {
      int index = 0;
      for (const nlohmann::json& element : value) Element(out, here, std::to_string(++index), "", element);
    } else {
      Line(out, path.empty() ? key : path, "", path.empty() ? "value" : key, value);
    }
  }
}

}  // namespace

std::string CsvText(const nlohmann::json& report) {
  std::string out = "table,row,field,value\n";
  Walk(out, "", report);
  return out;
}

std::string JsonText(const nlohmann::json& report) {
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace report
