#pragma once
#include "AsaApi/FString.h"

namespace ConfigHelper {

// A blueprint or texture path from the configuration. The game object it names
// is looked up when first needed; until then only the path is known.
struct ConfigAssetPath {
  FString Path;
  mutable bool Resolved = false;
  mutable void* Object = nullptr;  // the loaded class or texture, owned by the game

  bool IsEmpty() const { return Path.IsEmpty(); }
};

}  // namespace ConfigHelper
