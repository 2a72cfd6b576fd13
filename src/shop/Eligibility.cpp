#include "shop/Eligibility.h"

#include <algorithm>
#include <ctime>

#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/AShooterPlayerState.h"
#include "config/CatalogueReader.h"
#include "config/ShopConfig.h"
#include "core/Clock.h"
#include "core/Platform.h"
#include "modcomm/GameState.h"
#include "modcomm/ModEvents.h"
#include "shop/GroupMembership.h"

namespace TandorShop::Eligibility {
namespace {

using ConfigHelper::ConfigShopPacket;

bool InGroup(const FString& eosId, const FString& group) { return GroupMembership::IsPlayerInGroup(eosId, group); }

bool InOrEmpty(const TArray<int32_t>& list, int32_t value) { return list.IsEmpty() || list.Contains(value); }

bool Matches(const ConfigHelper::ConfigTimeFilter& filter, const CalendarDay& day) {
  return InOrEmpty(filter.MonthDays, day.MonthDay) && InOrEmpty(filter.Months, day.Month) &&
         InOrEmpty(filter.WeekDays, day.WeekDay);
}

bool OnThisServer(const ConfigShopPacket& packet) {
  if (packet.OnlyOnTheseMaps.IsEmpty()) return true;
  for (const FString& entry : packet.OnlyOnTheseMaps)
    if (ConfigHelper::EqualsIgnoreCase(entry, ModComm::MapName())) return true;
  for (const FString& entry : packet.OnlyOnTheseMaps)
    if (ConfigHelper::EqualsIgnoreCase(entry, ModComm::ServerKey())) return true;
  return false;
}

bool WithinLevel(const ConfigShopPacket& packet, APlayerState* playerState) {
  const int32_t level = reinterpret_cast<AShooterPlayerState*>(playerState)->GetCharacterLevel();
  if (packet.MaxCharLevel != 0 && level > packet.MaxCharLevel) return false;
  if (packet.MinCharLevel != 0 && level < packet.MinCharLevel) return false;
  return true;
}

// The checks shared by buying and listing, after the game time test.
bool PassesPlayerChecks(const FString& eosId, const ConfigShopPacket& packet, APlayerState* playerState) {
  if (!PassesGroupFilter(eosId, packet.ExcludeGroups, packet.IncludeGroups)) return false;
  if (packet.HasExtraTimeSettings && !PassesTimeFilter(packet.Id)) return false;
  if (playerState == nullptr) return false;
  return WithinLevel(packet, playerState);
}

}  // namespace

bool PassesGroupFilter(const FString& eosId, const TArray<FString>& exclude, const TArray<FString>& include) {
  for (const FString& group : exclude)
    if (InGroup(eosId, group)) return false;
  if (include.IsEmpty()) return true;
  for (const FString& group : include)
    if (InGroup(eosId, group)) return true;
  return false;
}

CalendarDay LocalCalendarDay(int64_t unixSeconds) {
  const std::time_t time = static_cast<std::time_t>(unixSeconds);
  std::tm local{};
  if (!Platform::LocalTime(time, local)) return {};
  return {local.tm_mday, local.tm_mon, local.tm_wday};
}

bool PassesTimeFilterOn(const ConfigHelper::ConfigExtraTimeSettings& settings, const CalendarDay& day) {
  if (settings.HasExclude && Matches(settings.Exclude, day)) return false;
  if (settings.HasInclude) return Matches(settings.Include, day);
  return true;
}

bool PassesTimeFilter(int32_t packetId) {
  const auto* settings = ConfigHelper::ShopConfig().ExtraTimeSettings.FindByPredicate(
      [packetId](const ConfigHelper::ConfigExtraTimeSettings& s) { return s.PacketId == packetId; });
  if (settings == nullptr) return true;
  return PassesTimeFilterOn(*settings, LocalCalendarDay(Clock::NowUnix()));
}

bool IsPacketAvailable(const FString& eosId, const ConfigShopPacket* packet, int32_t gameTime,
                       AShooterPlayerController* controller) {
  if (packet == nullptr || gameTime == -1) return false;
  if (!OnThisServer(*packet)) return false;
  if (!(gameTime > packet->EarliestAvailableAtServerTime)) return false;
  return PassesPlayerChecks(eosId, *packet, controller == nullptr ? nullptr : controller->PlayerStateField());
}

bool IsPacketVisible(const FString& eosId, const ConfigShopPacket* packet, int32_t gameTime,
                     APlayerState* playerState) {
  if (packet == nullptr) return false;
  if (!OnThisServer(*packet)) return false;
  const int64_t window = int64_t{gameTime} + ConfigHelper::ShopConfig().ShowPacketsAvailableSeconds;
  if (!(window > packet->EarliestAvailableAtServerTime)) return false;
  return PassesPlayerChecks(eosId, *packet, playerState);
}

double PlayerDiscount(const FString& eosId) {
  const auto& config = ConfigHelper::ShopConfig();
  double discount = 0.0;
  for (const auto& privilege : config.GroupPrivileges) {
    if (!InGroup(eosId, privilege.GroupName)) continue;
    const double fraction = static_cast<double>(privilege.ShopDiscount);
    discount = config.SumPlayerShopDiscount ? discount + fraction : std::max(discount, fraction);
  }
  return discount;
}

int32_t PassivePointsOf(const FString& eosId) {
  const auto& config = ConfigHelper::ShopConfig();
  int64_t amount = 0;
  for (const auto& privilege : config.GroupPrivileges) {
    if (!InGroup(eosId, privilege.GroupName)) continue;
    amount = config.SumPlayerPassivePointsAmount ? amount + privilege.PassivePointsAmount
                                                 : std::max<int64_t>(amount, privilege.PassivePointsAmount);
  }
  return static_cast<int32_t>(std::clamp<int64_t>(amount, INT32_MIN, INT32_MAX));
}

TArray<ConfigHelper::ConfigRewardPacket> AvailableRewardPackets(const FString& eosId,
                                                                AShooterPlayerController* controller) {
  TArray<ConfigHelper::ConfigRewardPacket> available;
  const int32_t gameTime = ModComm::GetServerGameTime();
  for (const auto& reward : ConfigHelper::ShopConfig().RewardPackets)
    if (IsPacketAvailable(eosId, reward.ShopPacket, gameTime, controller)) available.Add(reward);
  return available;
}

}  // namespace TandorShop::Eligibility
