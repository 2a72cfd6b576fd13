#pragma once
// The first step of a purchase or a redeem: the player's operation begins and
// their points and cooldowns are read on a worker. Game thread only.
#include <functional>
#include <memory>

#include "AsaApi/FString.h"
#include "modcomm/ModCommRecords.h"

namespace TandorShop::ShopRequests {

using PointsRecord = std::shared_ptr<ModComm::DB_PlayerPointsWithCds>;

// Nothing happens while another operation of the player is under way. Otherwise
// `then` runs on the game thread with the record read, and from then on owns the
// operation (it must end it on every path).
void BeginWithPointsAndCooldowns(const FString& eosId, std::function<void(const PointsRecord&)> then);

}  // namespace TandorShop::ShopRequests
