#include "modcomm/GameAssets.h"

#include <atomic>
#include <unordered_map>

#include "AsaApi/Game/UClass.h"
#include "AsaApi/Game/UTexture2D.h"
#include "AsaApi/WeakObjectPtr.h"
#include "config/ShopConfig.h"
#include "core/Log.h"

namespace ModComm {
namespace {

constexpr int32_t kRootSetFlag = 0x40000000;

// Loaded objects by path, game thread only.
std::unordered_map<FString, FWeakObjectPtr> g_textures;
std::unordered_map<FString, FWeakObjectPtr> g_classes;

template <typename Loader>
UObject* Resolve(std::unordered_map<FString, FWeakObjectPtr>& cache, const FString& path, Loader load) {
  if (path.IsEmpty()) return nullptr;
  auto found = cache.find(path);
  if (found != cache.end()) {
    if (UObject* object = found->second.Get()) return object;
  }
  UObject* object = load();
  if (object == nullptr) return nullptr;
  KeepAlive(object);
  cache[path] = FWeakObjectPtr::From(object);
  return object;
}

void Texture(const ConfigHelper::ConfigAssetPath& asset) {
  if (!asset.IsEmpty() && LoadTexture(asset.Path) == nullptr)
    TandorShop::Log().warn("Failed to load Texture {}", asset.Path.ToUtf8());
}

void Class(const ConfigHelper::ConfigAssetPath& asset) {
  if (!asset.IsEmpty() && LoadClass(asset.Path) == nullptr)
    TandorShop::Log().warn("Failed to load class {}", asset.Path.ToUtf8());
}

}  // namespace

UTexture2D* LoadTexture(const FString& path) {
  return reinterpret_cast<UTexture2D*>(Resolve(g_textures, path, [&] {
    return Game::Global_::StaticLoadObject(Game::UTexture2D_::StaticClass(), nullptr, *path, nullptr, 0, nullptr,
                                           true, nullptr);
  }));
}

UClass* LoadClass(const FString& path) {
  return reinterpret_cast<UClass*>(
      Resolve(g_classes, path, [&] { return reinterpret_cast<UObject*>(AsaApi::Game::ClassAtPath(path)); }));
}

bool KeepAlive(UObject* object) {
  if (object == nullptr) return false;
  FUObjectArray* array = Game::Global_::GUObjectArray.Address();
  const int32_t index = Game::UObjectBase_::InternalIndex.Of(object);
  FUObjectItem* item = array->ObjObjects.GetItem(index);  // checks the index against the count and the chunk
  if (item == nullptr || item->Object != object) return false;
  std::atomic_ref<int32_t>(item->Flags).fetch_or(kRootSetFlag);
  return true;
}

void ResolveAssets() {
  const auto& config = ConfigHelper::ShopConfig();
  for (const auto& button : config.ButtonOverwrites) Texture(button.Icon);
  for (const auto& gacha : config.GachaResources)
    for (const auto& resource : gacha.Resources) Class(resource.Item);
  for (const auto& stryder : config.StryderItems) {
    Class(stryder.HeadItem);
    Class(stryder.BodyItem);
  }
  for (const auto& category : config.ShopCategories) Texture(category.IconOverride);
  for (const auto& packet : config.ShopPackets) {
    Texture(packet.IconOverride);
    for (const auto& item : packet.Items)
      for (const auto& variant : item.Variants) Class(variant.Blueprint);
    for (const auto& dino : packet.Dinos)
      for (const auto& variant : dino.Variants) {
        Class(variant.Blueprint);
        Class(variant.Saddle);
      }
    for (const auto& command : packet.Commands)
      for (const auto& variant : command.Variants) Texture(variant.IconOverride);
  }
  for (const auto& item : config.ItemsToSell) {
    Texture(item.IconOverride);
    Class(item.ItemToSell);
  }
}

TandorShop::StateSize AssetCacheSize() {
  TandorShop::StateSize size;
  for (const auto* cache : {&g_textures, &g_classes}) {
    // A node holds the next pointer, the pair and the cached hash.
    constexpr std::size_t kNode = sizeof(void*) + sizeof(std::pair<const FString, FWeakObjectPtr>) + sizeof(std::size_t);
    size.Entries += cache->size();
    size.Bytes += cache->bucket_count() * sizeof(void*) + cache->size() * kNode;
    for (const auto& entry : *cache) size.Bytes += TandorShop::OwnedBytes(entry.first);
  }
  return size;
}

void ForgetAssets() {
  g_textures.clear();
  g_classes.clear();
}

}  // namespace ModComm
