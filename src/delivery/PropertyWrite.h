#pragma once
// Arrays written into a game object's property, found by name.
#include <cstdint>

#include "AsaApi/TArray.h"
#include "config/CatalogueRecords.h"

struct FProperty;
struct UObject;
struct UClass;

namespace DeliveryHelper {

// One element of an array property of 16 bytes (such as "ResourceProduction").
struct PropertyElement16 {
  UClass* ItemClass = nullptr;
  float Amount = 0;
  uint32_t Zero = 0;
};
static_assert(sizeof(PropertyElement16) == 16);

// Replaces the array in property of object by a copy of elements (host memory;
// the old contents are freed). Throws std::runtime_error when the object's class
// lacks the property or the property is not an array header of 16 bytes.
void SetArrayProperty(FProperty* property, UObject* object, const TArray<PropertyElement16>& elements);

// Gives a creature the gacha resources of the variant, when it has them and the
// creature's class produces resources. Warns about unusable entries.
void ApplyGachaResources(UObject* creature, UClass* creatureClass, const ConfigHelper::ConfigDinoVariant& variant);

}  // namespace DeliveryHelper
