#pragma once
// The shared shape of a packet's "Items", "Dinos" and "Commands": an array of
// entries, each with an array of "Variants". An entry without "Variants" is
// skipped with a warning; otherwise every accepted variant gets the next
// variant id and the entry is appended with the next entry id, even when none
// of its variants was accepted.
#include <nlohmann/json.hpp>

#include "config/CatalogueJson.h"
#include "config/CatalogueTrail.h"
#include <fmt/format.h>

#include "config/ReadReport.h"

namespace ConfigHelper::Entries {

// prepare(entryJson, group) reads the entry's own keys; readVariant(variantJson,
// variant, variantId) returns whether the variant is accepted; link(variant,
// groupId) fills the variant's owner id.
template <typename Group, typename Prepare, typename ReadVariant, typename Link>
void ReadGroups(const nlohmann::json& packetEntry, const char* key, const char* noVariantWarning, int32_t& groupIds,
                int32_t& variantIds, TArray<Group>& groups, Prepare prepare, ReadVariant readVariant, Link link) {
  const nlohmann::json& entries = Json::ArrayOrNull(packetEntry, key);
  std::size_t index = 0;
  for (const nlohmann::json& entry : entries) {
    EntryScope scope(key, index++, entry);
    Json::RequireObject(entry, key);
    Group group;
    group.Id = groupIds;
    prepare(entry, group);
    if (!Json::Has(entry, "Variants")) {
      Warn(fmt::format(fmt::runtime(noVariantWarning), group.Id));
      continue;
    }
    std::size_t variantIndex = 0;
    for (const nlohmann::json& variantEntry : Json::ArrayOrNull(entry, "Variants")) {
      EntryScope variantScope("Variants", variantIndex++, variantEntry);
      Json::RequireObject(variantEntry, "Variants");
      typename decltype(group.Variants)::ElementType variant;
      if (!readVariant(variantEntry, variant, variantIds)) continue;
      variant.Id = variantIds++;
      link(variant, group.Id);
      group.Variants.Add(std::move(variant));
    }
    groups.Add(std::move(group));
    ++groupIds;
  }
}

// Warns and returns false when `key` is absent.
inline bool Require(const nlohmann::json& entry, const char* key, const char* warning) {
  if (Json::Has(entry, key)) return true;
  Warn(warning);
  return false;
}

}  // namespace ConfigHelper::Entries
