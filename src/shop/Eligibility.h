#pragma once
// Which packets a player may see and have, here and now, and at what discount.
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "config/CatalogueRecords.h"

struct AShooterPlayerController;
struct APlayerState;

namespace TandorShop::Eligibility {

bool PassesGroupFilter(const FString& eosId, const TArray<FString>& exclude, const TArray<FString>& include);

// A calendar day: day of month 1..31, month 0..11, week day 0..6 (Sunday 0); all -1 when unknown.
struct CalendarDay {
  int32_t MonthDay = -1;
  int32_t Month = -1;
  int32_t WeekDay = -1;
};
CalendarDay LocalCalendarDay(int64_t unixSeconds);
bool PassesTimeFilterOn(const ConfigHelper::ConfigExtraTimeSettings& settings, const CalendarDay& day);
bool PassesTimeFilter(int32_t packetId);

bool IsPacketAvailable(const FString& eosId, const ConfigHelper::ConfigShopPacket* packet, int32_t gameTime,
                       AShooterPlayerController* controller);
bool IsPacketVisible(const FString& eosId, const ConfigHelper::ConfigShopPacket* packet, int32_t gameTime,
                     APlayerState* playerState);

// The discount fraction of the player's groups (summed or the largest).
double PlayerDiscount(const FString& eosId);
// The passive points of the player's groups (summed or the largest, at least 0 when in none).
int32_t PassivePointsOf(const FString& eosId);

// The reward packets whose shop packet the player may have now, in configuration order.
TArray<ConfigHelper::ConfigRewardPacket> AvailableRewardPackets(const FString& eosId,
                                                                AShooterPlayerController* controller);

}  // namespace TandorShop::Eligibility
