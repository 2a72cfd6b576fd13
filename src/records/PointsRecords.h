#pragma once
// What login handling hands to the database, by value.
#include <cstdint>

#include "AsaApi/FString.h"

namespace PointsHandler {

struct PlayerLoginDB {
  FString EosId;
  FString CharacterName;
  FString TribeName;  // empty without a tribe
  int64_t LoginTime = 0;  // Unix seconds
  int64_t ServerId = 0;
};

struct PlayerLogoutDB {
  FString EosId;
  int64_t LogoutTime = 0;  // Unix seconds
};

}  // namespace PointsHandler
