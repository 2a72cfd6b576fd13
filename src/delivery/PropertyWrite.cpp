#include "delivery/PropertyWrite.h"

#include <stdexcept>
#include <string>

#include "AsaApi/Game/UStruct.h"
#include "config/ShopConfig.h"
#include "core/Log.h"
#include "delivery/ClassCache.h"

namespace DeliveryHelper {

void SetArrayProperty(FProperty* property, UObject* object, const TArray<PropertyElement16>& elements) {
  if (property == nullptr || object == nullptr || !Game::UClass_::HasProperty(ClassOf(object), property))
    throw std::runtime_error("Object does not contain this property.");
  if (Game::FProperty_::ElementSize.Of(property) != static_cast<int32_t>(sizeof(TArray<PropertyElement16>))) {
    throw std::runtime_error(Game::FField_::NamePrivate.Of(property).ToString().ToUtf8() + " - " +
                             "Expected size does not match property size.");
  }
  const int32_t offset = Game::FProperty_::Offset_Internal.Of(property);
  auto& target = *reinterpret_cast<TArray<PropertyElement16>*>(reinterpret_cast<char*>(object) + offset);
  target = elements;
}

void ApplyGachaResources(UObject* creature, UClass* creatureClass, const ConfigHelper::ConfigDinoVariant& variant) {
  if (!variant.HasGachaResources) return;
  const ConfigHelper::ConfigGachaResources* resources = ConfigHelper::ShopConfig().GachaResources.FindByPredicate(
      [&](const ConfigHelper::ConfigGachaResources& entry) { return entry.DinoVariantId == variant.Id; });
  if (resources == nullptr) return;
  FProperty* property = Game::UStruct_::FindPropertyByName(creatureClass, FName("ResourceProduction"));
  if (property == nullptr) return;

  TArray<PropertyElement16> elements;
  for (const ConfigHelper::ConfigGachaResource& resource : resources->Resources) {
    UClass* itemClass = ResolveItemClass(resource.Item);
    if (itemClass == nullptr) {
      TandorShop::Log().warn("Gacha Resource not valid: {}", resource.Item.Path.ToUtf8());
      continue;
    }
    elements.Add({itemClass, resource.Amount, 0});
  }
  if (elements.Num() < ConfigHelper::ConfigGachaResources::Count) {
    TandorShop::Log().warn("Valid Gacha Resouce count not valid {} instead of 6.", elements.Num());
    return;
  }
  SetArrayProperty(property, creature, elements);
}

}  // namespace DeliveryHelper
