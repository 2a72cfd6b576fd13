// "ShopCategories": every entry is accepted; no key is required.
#include <nlohmann/json.hpp>

#include "config/CatalogueJson.h"
#include "config/CatalogueReader.h"
#include "config/CatalogueTrail.h"
#include "config/ReadReport.h"

namespace ConfigHelper {

void ReadShopCategories(const nlohmann::json& root, ConfigCatalogue& config, CatalogueIdCounters& ids) {
  std::size_t index = 0;
  for (const auto& entry : Json::ArrayOrNull(root, "ShopCategories")) {
    ReadGuarded("ShopCategories", [&] {
      EntryScope scope("ShopCategories", index++, entry);
      Json::RequireObject(entry, "ShopCategories");
      ConfigShopCategory category;
      category.Description = Json::ReadText(entry, "Description");
      category.Name = Json::ReadText(entry, "Name");
      category.IconOverride = Json::ReadAssetPath(entry, "IconOverride");
      category.ExcludeGroups = Json::ReadTextList(entry, "ExcludeGroups");
      category.IncludeGroups = Json::ReadTextList(entry, "IncludeGroups");
      category.Id = ids.Category++;
      config.ShopCategories.Add(std::move(category));
    });
  }
}

}  // namespace ConfigHelper
