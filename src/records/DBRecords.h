#pragma once
// Values the database operations read or write.
#include <cstdint>
#include <string>

#include "AsaApi/FString.h"
#include "records/ModCommRecords.h"

namespace DBHelper {

struct PlayerPointsRow {
  int64_t points = -1;  // -1: no row, or the database could not be read
  int32_t secondsWithoutReward = 0;
};

// One shop log row, plus the two texts the Discord log shows.
struct ShopLogRecord {
  FString eosId;
  FString packet;
  FString descr;
  FString playerLabel;
  FString serverName;
  int64_t timestamp = 0;
  int64_t serverid = 0;
  int64_t amount = 0;
  int64_t pointsChange = 0;
  int64_t newPoints = 0;
  int32_t redeemsLeft = 0;
  int32_t isBuy = 0;
  int32_t isRedeem = 0;
  int32_t isSell = 0;
};

// A shop log row of this request, stamped with this server's id.
ShopLogRecord ShopLogFor(const ModComm::PlayerServerInfo& info, const FString& packet, const FString& descr);

struct TradeLogRecord {
  FString eosIdFrom;
  FString eosIdTo;
  FString fromName;
  FString toName;
  int64_t timestamp = 0;
  int64_t serverid = 0;
  int64_t amount = 0;
  int64_t pointsAfterFrom = 0;
  int64_t pointsAfterTo = 0;
};

// A packet granted as a held reward when a player joins.
struct OnJoinReward {
  FString Name;        // the reward packet's name
  int32_t Amount = 0;  // how many are granted
};

// One row of an Arkshop points table.
struct ArkshopPoints {
  std::string eosId;
  int64_t points = 0;
};

// Result codes of tradePoints.
inline constexpr int32_t kTradeDone = 0;
inline constexpr int32_t kTradeTooFewPoints = 1;
inline constexpr int32_t kTradeUnknownRecipient = 2;

}  // namespace DBHelper
