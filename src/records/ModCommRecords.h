#pragma once
// Records exchanged with the mod or filled by the database. Fields are kept in the
// order the mod's structures expect (natural alignment).
#include <cstddef>
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"

namespace ModComm {

// Who made a request, for the logs and the Discord messages.
struct PlayerServerInfo {
  FString EosId;
  FString PlayerLabel;  // "{character} ({tribe})"
  FString SessionName;
};

// The last use of a cooldown-bound packet by one player.
struct PlayerPacketCooldown {
  FString PacketName;
  int32_t LastUse = 0;  // Unix seconds
};

struct DB_PlayerPointsWithCds {
  TArray<PlayerPacketCooldown> Cooldowns;
  int64_t points = -1;  // -1: the player has no row or the database could not be read
};

// One possible trade partner and the labels of their characters.
struct A_TradeTarget {
  FString EosId;
  TArray<FString> Names;
  uint8_t IsOnline = 0;
  // Set when a character of this player logged in after its last recorded logout.
  uint8_t LoginAfterLogout = 0;
};
static_assert(sizeof(A_TradeTarget) == 40);
static_assert(offsetof(A_TradeTarget, EosId) == 0);
static_assert(offsetof(A_TradeTarget, Names) == 16);
static_assert(offsetof(A_TradeTarget, IsOnline) == 32);
static_assert(offsetof(A_TradeTarget, LoginAfterLogout) == 33);

enum class ShopLogKind : int32_t { Buy = 0, Sell = 1, Redeem = 2 };

// One shop log line for the mod.
struct A_ShopLogEntry {
  FString Packet;
  FString Description;
  int32_t Kind = 0;  // ShopLogKind
  int32_t Timestamp = 0;
  int32_t Amount = 0;
  int32_t PointsChange = 0;
};
static_assert(sizeof(A_ShopLogEntry) == 48);
static_assert(offsetof(A_ShopLogEntry, Description) == 16);
static_assert(offsetof(A_ShopLogEntry, Kind) == 32);
static_assert(offsetof(A_ShopLogEntry, Timestamp) == 36);
static_assert(offsetof(A_ShopLogEntry, Amount) == 40);
static_assert(offsetof(A_ShopLogEntry, PointsChange) == 44);

// One trade log line for the mod, seen from the player who asked.
struct A_TradeLogEntry {
  FString PartnerEosId;
  FString PartnerName;
  int32_t Timestamp = 0;
  int32_t Amount = 0;  // negative when the player sent the points
};
static_assert(sizeof(A_TradeLogEntry) == 40);
static_assert(offsetof(A_TradeLogEntry, PartnerName) == 16);
static_assert(offsetof(A_TradeLogEntry, Timestamp) == 32);
static_assert(offsetof(A_TradeLogEntry, Amount) == 36);

}  // namespace ModComm
