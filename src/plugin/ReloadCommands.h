#pragma once

namespace TandorShop {
// "TandorShop.reload" over RCON and the console.
void AddReloadCommands();
void RemoveReloadCommands();
// Reads the file again and, when it loads, runs the reload. False when it did not load.
bool ReloadConfig();
}  // namespace TandorShop
