#include "sim/Classes.h"

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
  if (!path.empty()) byPath_[path] = raw;
  return raw;
}

SimClass* ClassRegistry::Find(const std::string& path) const {
  const auto found = byPath_.find(path);
  return found == byPath_.end() ? nullptr : found->second;
}

std::string ClassRegistry::PathOf(const SimClass* cls) const {
  for (const auto& [path, entry] : byPath_)
    if (entry == cls) return path;
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

bool IsChildOf(UStruct* candidate, UStruct* ancestor) {
  return ClassRegistry::IsChildOf(reinterpret_cast<SimClass*>(candidate), reinterpret_cast<SimClass*>(ancestor));
}

}  // namespace

void RegisterClassFunctions() {
  host::Register(Game::UVictoryCore_::StringReferenceToClass, &StringReferenceToClass);
  host::Register(Game::UClass_::GetDefaultObject, &GetDefaultObject);
  host::Register(Game::UStruct_::IsChildOf, &IsChildOf);
}

}  // namespace sim
