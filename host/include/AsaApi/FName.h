#pragma once
#include <cstdint>

#include "AsaApi/GameTables.h"

class FString;
struct FName;

enum class EFindName : int32_t { FNAME_Find = 0, FNAME_Add = 1 };

namespace Game::FName_ {
inline const GameFunction<void(FName*, const char*, EFindName)> Construct{"FName.FName(char*,EFindName)"};
inline const GameFunction<FString*(const FName*, FString*)> ToString{"FName.ToString(FString&)"};
}  // namespace Game::FName_

struct FName {
  int32_t ComparisonIndex = 0;
  int32_t Number = 0;

  FName() = default;
  FName(const char* text, EFindName find = EFindName::FNAME_Add) { Game::FName_::Construct(this, text, find); }
  FString ToString() const;

  friend bool operator==(const FName& a, const FName& b) {
    return a.ComparisonIndex == b.ComparisonIndex && a.Number == b.Number;
  }
};
static_assert(sizeof(FName) == 8);
