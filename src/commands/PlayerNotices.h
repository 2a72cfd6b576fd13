#pragma once
// What the commands tell players in game.
#include <cstdint>
#include <string>

#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"

namespace CommandHandler {

// Tells an online player that an admin changed their points: the points event to
// the player's buff and the "GotTimedPoints" chat line. Waiting for the mod
// channel's NotifyPointsChange, which sends both; until it lands, nothing is sent.
void TellPlayerPointsChanged(const FString& eosId, int32_t change);

// One chat line to the player, sent by the shop's name (ShopName).
void SendChatLine(AShooterPlayerController* player, const std::string& utf8Text);

}  // namespace CommandHandler
