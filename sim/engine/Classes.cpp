#include "sim/engine/Classes.h"

#include "AsaApi/Game/UClass.h"

namespace sim {

ClassRegistry& ClassRegistry::Get() {
  static ClassRegistry registry;
  return registry;
}

SimClass* ClassRegistry::Add(const std::string& path, SimClass* super, UObject* defaultObject) {
  ObjectPtr<SimClass> created = NewObject<SimClass>();
  created->Super = super;
  created->DefaultObject = defaultObject;
  SimClass* raw = created.get();
  classes_.push_back(std::move(created));
  if (!path.empty()) {
    byPath_[path] = raw;
    pathOf_[raw] = path;
  }
  return raw;
}

SimClass* ClassRegistry::Find(const std::string& path) const {
  const auto found = byPath_.find(path);
  return found == byPath_.end() ? nullptr : found->second;
}

SimClass* ClassRegistry::FindByName(const std::string& name) const {
  const std::string ending = "." + name + "'";
  for (const auto& [path, cls] : byPath_)
    if (path.size() > ending.size() && path.compare(path.size() - ending.size(), ending.size(), ending) == 0)
      return cls;
  return nullptr;
}

std::string ClassRegistry::PathOf(const SimClass* cls) const {
  for (const auto& [path, entry] : byPath_)
    if (entry == cls) return path;
  return {};
}

namespace {

// "Blueprint'/Game/A/B.B'" -> "/Game/A/B.B"; other texts unchanged.
std::string ObjectPathOf(const std::string& assetPath) {
  const std::size_t open = assetPath.find('\'');
  if (open == std::string::npos || assetPath.size() < open + 2 || assetPath.back() != '\'') return assetPath;
  return assetPath.substr(open + 1, assetPath.size() - open - 2);
}

}  // namespace

std::string ClassRegistry::PathNameOf(const UObject* object) const {
  for (const auto& [cls, assetPath] : pathOf_) {
    const bool isClass = &cls->Header == object;
    if (!isClass && cls->DefaultObject != object) continue;
    const std::string path = ObjectPathOf(assetPath);
    if (isClass) return path + "_C";
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return path + "_C";
    return path.substr(0, dot + 1) + "Default__" + path.substr(dot + 1) + "_C";
  }
  return {};
}

bool ClassRegistry::IsChildOf(const SimClass* candidate, const SimClass* ancestor) {
  for (const SimClass* at = candidate; at != nullptr; at = at->Super) {
    if (at == ancestor) return true;
  }
  return false;
}

namespace {

UClass* StringReferenceToClass(FString* path) {
  if (path == nullptr) return nullptr;
  return reinterpret_cast<UClass*>(ClassRegistry::Get().Find(path->ToUtf8()));
}

UObject* GetDefaultObject(UClass* cls, bool) {
  return cls == nullptr ? nullptr : reinterpret_cast<SimClass*>(cls)->DefaultObject;
}

UObject* GetClassDefaultObject(UClass* cls) { return GetDefaultObject(cls, true); }

void GetPathName(UObject* object, UObject*, FString* out) {
  if (out != nullptr) *out = FString::FromUtf8(object == nullptr ? "" : ClassRegistry::Get().PathNameOf(object));
}

bool IsChildOf(UStruct* candidate, UStruct* ancestor) {
  return ClassRegistry::IsChildOf(reinterpret_cast<SimClass*>(candidate), reinterpret_cast<SimClass*>(ancestor));
}

}  // namespace

void RegisterClassFunctions() {
  host::Register(Game::UVictoryCore_::StringReferenceToClass, &StringReferenceToClass);
  host::Register(Game::UClass_::GetDefaultObject, &GetDefaultObject);
  host::Register(Game::UStruct_::IsChildOf, &IsChildOf);
  host::Register(Game::UVictoryCore_::GetClassDefaultObject, &GetClassDefaultObject);
  host::Register(Game::UObjectBaseUtility_::GetPathName, &GetPathName);
}

}  // namespace sim
