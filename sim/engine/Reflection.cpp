#include "sim/engine/Reflection.h"

#include <map>
#include <memory>
#include <vector>

#include "AsaApi/FString.h"
#include "AsaApi/Game/UStruct.h"
#include "sim/engine/ProcessObjects.h"

namespace sim {
namespace {

struct StructEntry {
  SimScriptStruct* Object = nullptr;
  int32_t GameSize = 0;
  bool Hidden = false;
};

struct Tables {
  std::map<std::string, StructEntry> structs;
  std::map<const SimClass*, std::vector<std::unique_ptr<SimProperty>>> properties;
};
Tables& TheTables() {
  static Tables tables;
  return tables;
}

std::string NameText(const FName& name) { return name.ToString().ToUtf8(); }

FProperty* FindPropertyByName(UStruct* owner, FName name) {
  if (owner == nullptr) return nullptr;
  return reinterpret_cast<FProperty*>(Reflection::FindProperty(reinterpret_cast<SimClass*>(owner), NameText(name)));
}

bool HasProperty(UClass* cls, FProperty* property) {
  return Reflection::HasProperty(reinterpret_cast<SimClass*>(cls), reinterpret_cast<SimProperty*>(property));
}

}  // namespace

SimScriptStruct* Reflection::Struct(const std::string& name, int32_t size) {
  StructEntry& entry = TheTables().structs[name];
  if (entry.Object == nullptr) {
    entry.Object = ProcessObjects::Make<SimScriptStruct>();
    entry.GameSize = size;
    entry.Object->PropertiesSize = size;
  }
  return entry.Object;
}

void Reflection::SetReportedSize(const std::string& name, int32_t size) { Struct(name, size)->PropertiesSize = size; }

void Reflection::HideStruct(const std::string& name, bool hidden) { TheTables().structs[name].Hidden = hidden; }

SimScriptStruct* Reflection::StaticStructOf(const std::string& name, int32_t size) {
  SimScriptStruct* object = Struct(name, size);
  return TheTables().structs[name].Hidden ? nullptr : object;
}

void Reflection::ResetKnobs() {
  for (auto& [name, entry] : TheTables().structs) {
    entry.Hidden = false;
    if (entry.Object != nullptr) entry.Object->PropertiesSize = entry.GameSize;
  }
}

SimProperty* Reflection::AddProperty(SimClass* cls, const std::string& name, int32_t elementSize, int32_t offset) {
  auto property = std::make_unique<SimProperty>();
  property->NamePrivate = FName(name.c_str());
  property->ElementSize = elementSize;
  property->Offset_Internal = offset;
  SimProperty* raw = property.get();
  TheTables().properties[cls].push_back(std::move(property));
  return raw;
}

SimProperty* Reflection::FindProperty(const SimClass* cls, const std::string& name) {
  for (const SimClass* at = cls; at != nullptr; at = at->Super) {
    auto found = TheTables().properties.find(at);
    if (found == TheTables().properties.end()) continue;
    for (const auto& property : found->second)
      if (CompareIgnoreCase(Utf8ToUtf16(NameText(property->NamePrivate)), Utf8ToUtf16(name)) == 0)
        return property.get();
  }
  return nullptr;
}

bool Reflection::HasProperty(const SimClass* cls, const SimProperty* property) {
  if (property == nullptr) return false;
  for (const SimClass* at = cls; at != nullptr; at = at->Super) {
    auto found = TheTables().properties.find(at);
    if (found == TheTables().properties.end()) continue;
    for (const auto& candidate : found->second)
      if (candidate.get() == property) return true;
  }
  return false;
}

void RegisterReflectionFunctions() {
  using namespace Game;
  host::Register(UStruct_::PropertiesSize, static_cast<std::ptrdiff_t>(offsetof(SimScriptStruct, PropertiesSize)));
  host::Register(UStruct_::FindPropertyByName, &FindPropertyByName);
  host::Register(UClass_::HasProperty, &HasProperty);
  host::Register(FProperty_::ElementSize, static_cast<std::ptrdiff_t>(offsetof(SimProperty, ElementSize)));
  host::Register(FProperty_::Offset_Internal, static_cast<std::ptrdiff_t>(offsetof(SimProperty, Offset_Internal)));
  host::Register(FField_::NamePrivate, static_cast<std::ptrdiff_t>(offsetof(SimProperty, NamePrivate)));
}

}  // namespace sim
