#pragma once

namespace TandorShop {
// The hook that notices when the game mode begins play.
bool InstallGameModeHook();
void RemoveGameModeHook();
}  // namespace TandorShop
