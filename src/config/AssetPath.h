#pragma once
#include "AsaApi/FString.h"
#include "AsaApi/WeakObjectPtr.h"

namespace ConfigHelper {

// A blueprint or texture path from the configuration. The game object it names
// is looked up when first needed; until then only the path is known.
struct ConfigAssetPath {
  FString Path;
  mutable bool Resolved = false;
  mutable void* Object = nullptr;  // the loaded class or texture, owned by the game
  mutable FWeakObjectPtr ObjectRef;  // goes null when the game drops Object

  bool IsEmpty() const { return Path.IsEmpty(); }
};

}  // namespace ConfigHelper
