#include "delivery/ClassCache.h"

#include "AsaApi/Game/APrimalDinoCharacter.h"
#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UPrimalItem.h"

namespace DeliveryHelper {

UClass* ResolveClass(const ConfigHelper::ConfigAssetPath& asset) {
  if (asset.IsEmpty()) {
    asset.Object = nullptr;
    asset.ObjectRef = FWeakObjectPtr{};
    asset.Resolved = false;
    return nullptr;
  }
  if (asset.Resolved && asset.Object != nullptr && asset.ObjectRef.Get() == asset.Object)
    return static_cast<UClass*>(asset.Object);
  UClass* cls = AsaApi::Game::ClassAtPath(asset.Path);
  asset.Object = cls;
  asset.ObjectRef = FWeakObjectPtr::From(cls);
  asset.Resolved = cls != nullptr;
  return cls;
}

UClass* ResolveItemClass(const ConfigHelper::ConfigAssetPath& asset) {
  UClass* cls = ResolveClass(asset);
  return IsItemClass(cls) ? cls : nullptr;
}

bool IsItemClass(UClass* cls) {
  if (cls == nullptr || Game::UClass_::GetDefaultObject(cls, true) == nullptr) return false;
  UClass* itemBase = Game::UPrimalItem_::GetPrivateStaticClass();
  return itemBase != nullptr && Game::UStruct_::IsChildOf(cls, itemBase);
}

bool IsCreatureClass(UClass* cls) {
  if (cls == nullptr) return false;
  UClass* creatureBase = Game::APrimalDinoCharacter_::GetPrivateStaticClass();
  return creatureBase != nullptr && Game::UStruct_::IsChildOf(cls, creatureBase);
}

UClass* ClassOf(const UObject* object) {
  return object == nullptr ? nullptr : Game::UObjectBase_::ClassPrivate.Of(object);
}

}  // namespace DeliveryHelper
