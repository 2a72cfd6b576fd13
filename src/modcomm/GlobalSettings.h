#pragma once
#include "modcomm/ModViews.h"

namespace ModComm {
// The block of the current settings, textures resolved.
GlobalSettingsBlock BuildGlobalSettings();
// Sends it to the mod's global actor ("GA is not valid." without one).
void SendGlobalSettings();
}  // namespace ModComm
