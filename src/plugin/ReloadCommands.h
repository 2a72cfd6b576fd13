#pragma once
#include "plugin/Lifecycle.h"

namespace TandorShop {
// "TandorShop.reload" and "TandorShop.help" over RCON and the console (admins only).
void AddReloadCommands();
void RemoveReloadCommands();
// Reads the file again and, when it loads and reads without error, applies it.
ReloadOutcome ReloadConfig();
}  // namespace TandorShop
