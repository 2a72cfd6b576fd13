#include "config/CatalogueTrail.h"

#include <exception>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace ConfigHelper {
namespace {

struct Frame {
  const char* Section;
  std::size_t Index;
  const nlohmann::json* Entry;
};

thread_local std::vector<Frame> Trail;
thread_local std::string FailedTrail;

std::string EntryName(const nlohmann::json& entry) {
  if (!entry.is_object()) return {};
  for (const char* key : {"PacketName", "Name"}) {
    const auto it = entry.find(key);
    if (it != entry.end() && it->is_string()) return fmt::format(" \"{}\"", it->get_ref<const std::string&>());
  }
  return {};
}

}  // namespace

EntryScope::EntryScope(const char* section, std::size_t index, const nlohmann::json& entry)
    : uncaught_(std::uncaught_exceptions()) {
  if (Trail.empty()) FailedTrail.clear();
  Trail.push_back({section, index, &entry});
}

EntryScope::~EntryScope() {
  // The innermost scope left by an exception names the entry that failed.
  if (std::uncaught_exceptions() > uncaught_ && FailedTrail.empty()) {
    try {
      FailedTrail = CurrentEntryTrail();
    } catch (...) {
    }
  }
  Trail.pop_back();
}

std::string CurrentEntryTrail() {
  std::string text;
  for (const Frame& frame : Trail) {
    if (!text.empty()) text += " > ";
    text += fmt::format("{}[{}]{}", frame.Section, frame.Index, EntryName(*frame.Entry));
  }
  return text;
}

std::string FailedEntryTrail() { return FailedTrail; }

void ResetFailedEntryTrail() { FailedTrail.clear(); }

}  // namespace ConfigHelper
