#pragma once
// The simulated game's classes: each is an object in the object array with a
// super class and a default object, and may be reachable by an asset path
// (what StringReferenceToClass and the spawn by path resolve).
#include <map>
#include <string>
#include <vector>

#include "sim/engine/ObjectArray.h"

namespace sim {

struct SimClass {
  UObject Header;
  SimClass* Super = nullptr;
  UObject* DefaultObject = nullptr;
};

class ClassRegistry {
 public:
  static ClassRegistry& Get();

  // A new class. A non-empty path makes it loadable by that path; the same path
  // again replaces the earlier entry. The class lives as long as the process.
  SimClass* Add(const std::string& path, SimClass* super = nullptr, UObject* defaultObject = nullptr);
  // The class at path (exact text), or null.
  SimClass* Find(const std::string& path) const;
  // The class whose asset path ends in ".name'" (Blueprint'/Game/A/B.B' is "B"), or null.
  SimClass* FindByName(const std::string& name) const;
  // The path a class was added with, or empty.
  std::string PathOf(const SimClass* cls) const;

  static bool IsChildOf(const SimClass* candidate, const SimClass* ancestor);

  // The engine's path name of a class or of a class's default object, from the
  // asset path it was added with: Blueprint'/Game/A/B.B' gives /Game/A/B.B_C for
  // the class and /Game/A/B.Default__B_C for its default object. Empty for
  // anything else.
  std::string PathNameOf(const UObject* object) const;

 private:
  // The object array must outlive the classes listed in it.
  ClassRegistry() { ObjectArray::Get(); }
  std::map<std::string, SimClass*> byPath_;
  std::map<const SimClass*, std::string> pathOf_;
  std::vector<ObjectPtr<SimClass>> classes_;
};

// Registers UVictoryCore.StringReferenceToClass, UClass.GetDefaultObject and
// UStruct.IsChildOf. Called by the server at start-up.
void RegisterClassFunctions();

}  // namespace sim
