#pragma once
// Classes by asset path, default objects and the class hierarchy.
#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"

namespace Game::UVictoryCore_ {
// A static game function: no object, the path first. Null for an unknown path.
inline const GameFunction<UClass*(FString*)> StringReferenceToClass{"UVictoryCore.StringReferenceToClass(FString&)"};
}  // namespace Game::UVictoryCore_
namespace Game::UClass_ {
inline const GameFunction<UObject*(UClass*, bool)> GetDefaultObject{"UClass.GetDefaultObject(bool)"};
}
namespace Game::UStruct_ {
inline const GameFunction<bool(UStruct*, UStruct*)> IsChildOf{"UStruct.IsChildOf(UStruct*)"};
}

namespace AsaApi::Game {
// The class at an asset path, or null.
inline UClass* ClassAtPath(const FString& path) {
  FString copy = path;
  return ::Game::UVictoryCore_::StringReferenceToClass(&copy);
}
}  // namespace AsaApi::Game

namespace Game::UVictoryCore_ {
inline const GameFunction<UObject*(UClass*)> GetClassDefaultObject{"UVictoryCore.GetClassDefaultObject(UClass*)"};
}
namespace Game::UObjectBaseUtility_ {
// The object's full path name below stopOuter (null: the whole path) into the text.
inline const GameFunction<void(UObject*, UObject*, FString*)> GetPathName{
    "UObjectBaseUtility.GetPathName(UObject*,FString&)"};
}
