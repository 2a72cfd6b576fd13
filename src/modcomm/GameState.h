#pragma once
// Values of this server read once by the mod channel's start.
#include "AsaApi/FString.h"

namespace ModComm {
FString& MapName();
FString& SessionName();
FString& ServerKey();
// Reads the session name from the game session actor.
void ReadGameSession();
}  // namespace ModComm
