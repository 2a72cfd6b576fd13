#pragma once
#include <cstdint>

namespace TandorShop::GameInfo {
// This game server's numeric id (the game mode's ServerID). Read on the game
// thread whenever the game mode is known and kept, so worker threads can read it.
int64_t ServerId();
// Reads the id from the game mode now (game thread only); 0 without a game mode.
void RefreshServerId();
}  // namespace TandorShop::GameInfo
