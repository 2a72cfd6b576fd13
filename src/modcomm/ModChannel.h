#pragma once
// The mod channel: opened once when the version check allows it, closed at unload.

namespace ModChannel {

// What the layers above do when the channel opens and closes, installed before
// it can open (plugin start).
struct ChannelSteps {
  void (*StartOfRun)() = nullptr;  // the start-of-run repairs, while the channel opens
  void (*Closed)() = nullptr;      // after the channel closed (unload)
};
void SetChannelSteps(const ChannelSteps& steps);

// Remembers the calling thread as the game thread (Plugin_Init).
void MarkGameThread();
// Opens the channel once, on the game thread. Called from elsewhere, the start
// waits for the next ts.points call; after unload began it does nothing.
void StartModChannel();
// Runs a start that waits for the game thread (ts.points).
void RunPendingStart();
// Closes it (Unload): removes the hook and tan_shp, drops queued lists and caches.
void StopModChannel();
// After a configuration read: rebuild the views; when open, resolve, read creature data, send settings.
void RefreshAfterConfigRead(bool reload);

}  // namespace ModChannel
