#pragma once
// Connects the layers that report upward (the version check, the mod channel)
// to the operations above them.

namespace TandorShop {

// Installs the mod's request handlers, the channel's start-of-run and closing
// steps and the version check's answer. Game thread, before anything can start.
void WireLayers();

}  // namespace TandorShop
