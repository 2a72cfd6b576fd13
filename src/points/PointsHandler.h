#pragma once
// Login and logout bookkeeping and the passive reward.

namespace PointsHandler {

// Installs the login, logout and possession hooks and the ts.points timer.
void Start();
// Removes them.
void Stop();
// Registers the players already online (plugin loaded into a running server).
void RegisterPlayersOnline();
// The body of the ts.points timer (one call).
void OnPointsTimer();
// Empties the lists (unload).
void Forget();

}  // namespace PointsHandler
