#pragma once
// Classes named by asset paths of the configuration, resolved on first use and
// kept in the record with a weak reference, so a class the game dropped is
// loaded again.
#include "config/AssetPath.h"

struct UClass;
struct UObject;

namespace DeliveryHelper {

// The class at the path, or null. An empty path clears the cache.
UClass* ResolveClass(const ConfigHelper::ConfigAssetPath& asset);

// As ResolveClass, but only an item class (one whose default object is an item)
// counts; anything else is treated as no class.
UClass* ResolveItemClass(const ConfigHelper::ConfigAssetPath& asset);

bool IsItemClass(UClass* cls);
bool IsCreatureClass(UClass* cls);
// The class of an object (UObjectBase.ClassPrivate).
UClass* ClassOf(const UObject* object);

}  // namespace DeliveryHelper
