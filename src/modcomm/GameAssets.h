#pragma once
// Textures and classes named by the configuration, loaded ahead and kept loaded.
#include "AsaApi/FString.h"
#include "core/StateSize.h"

struct UObject;
struct UClass;
struct UTexture2D;

namespace ModComm {

// Null for an empty path or one that does not load.
UTexture2D* LoadTexture(const FString& path);
UClass* LoadClass(const FString& path);
// Marks the object as never collected; false when its index is not a valid slot of the object array.
bool KeepAlive(UObject* object);
// Loads every texture and class of the configuration (start and reload).
void ResolveAssets();
// The loaded textures and classes by path.
TandorShop::StateSize AssetCacheSize();
// Forgets the loaded objects (unload).
void ForgetAssets();

}  // namespace ModComm
