#pragma once
// Reflection as far as the shop uses it: struct sizes, properties by name.
#include "AsaApi/FName.h"
#include "AsaApi/Game/Classes.h"

struct UScriptStruct : UStruct {};

// A property descriptor. Not an object: its fields are reached by name.
struct FField {};
struct FProperty : FField {};

namespace Game::UStruct_ {
inline const GameField<int32_t> PropertiesSize{"UStruct.PropertiesSize"};
inline const GameFunction<FProperty*(UStruct*, FName)> FindPropertyByName{"UStruct.FindPropertyByName(FName)"};
}  // namespace Game::UStruct_
namespace Game::UClass_ {
inline const GameFunction<bool(UClass*, FProperty*)> HasProperty{"UClass.HasProperty(FProperty*)"};
}
namespace Game::FProperty_ {
inline const GameField<int32_t> ElementSize{"FProperty.ElementSize"};
inline const GameField<int32_t> Offset_Internal{"FProperty.Offset_Internal"};
}  // namespace Game::FProperty_
namespace Game::FField_ {
inline const GameField<FName> NamePrivate{"FField.NamePrivate"};
}
