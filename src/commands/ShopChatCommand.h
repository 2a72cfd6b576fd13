#pragma once
#include "AsaApi/Game/Classes.h"

namespace CommandHandler {

// "/shop": opens the shop for the player exactly as the mod's open-shop request
// does (HandleOpenShop, with its throttle). Waiting for the mod channel; until it
// lands the command is registered and does nothing.
void OpenShopFromChat(AShooterPlayerController* player);

}  // namespace CommandHandler
