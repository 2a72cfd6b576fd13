#pragma once
// Which entry of the file is being read. The reader opens a scope per entry;
// a log sink (the configuration checker's) may ask for the current trail to
// name the entry a warning belongs to. Costs nothing unless asked.
#include <cstddef>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace ConfigHelper {

class EntryScope {
 public:
  EntryScope(const char* section, std::size_t index, const nlohmann::json& entry);
  ~EntryScope();
  EntryScope(const EntryScope&) = delete;
  EntryScope& operator=(const EntryScope&) = delete;

 private:
  int uncaught_;
};

// For example: ShopPackets[3] "Starter Kit" > Items[0] > Variants[1] "Stone Pick".
// Empty outside any entry.
std::string CurrentEntryTrail();

// The trail of the entry where an error ended the last read, or empty when the
// last read was not ended by an error inside an entry.
std::string FailedEntryTrail();
// Forgets the failed trail, before a read that may fail.
void ResetFailedEntryTrail();

}  // namespace ConfigHelper
