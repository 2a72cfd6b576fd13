#pragma once
// Reflection of the simulated game: script structs with the size the game
// reports, and property descriptors of classes (found by name, with element
// size and offset).
#include <string>

#include "AsaApi/FName.h"
#include "sim/engine/Classes.h"

namespace sim {

// UScriptStruct: PropertiesSize right after the header.
struct SimScriptStruct {
  UObject Header;
  int32_t PropertiesSize = 0;
};

// FProperty: not an object.
struct SimProperty {
  FName NamePrivate;
  int32_t ElementSize = 0;
  int32_t Offset_Internal = 0;
};

class Reflection {
 public:
  // The struct the game reports under name ("FItemStatInfo"), created on first use
  // with the given size.
  static SimScriptStruct* Struct(const std::string& name, int32_t size);
  // Test knobs: the size reported for a struct, or no struct at all (StaticStruct() gives null).
  static void SetReportedSize(const std::string& name, int32_t size);
  static void HideStruct(const std::string& name, bool hidden = true);
  static SimScriptStruct* StaticStructOf(const std::string& name, int32_t size);  // null when hidden
  // Gives cls a property; subclasses inherit it.
  static SimProperty* AddProperty(SimClass* cls, const std::string& name, int32_t elementSize, int32_t offset);
  static SimProperty* FindProperty(const SimClass* cls, const std::string& name);
  static bool HasProperty(const SimClass* cls, const SimProperty* property);
  // Sizes and hidden flags back to the game's own.
  static void ResetKnobs();
};

void RegisterReflectionFunctions();

}  // namespace sim
