#include "points/OnlinePlayers.h"

#include <algorithm>
#include <string_view>

#include "AsaApi/Game/FGenericPlatformStricmp.h"

namespace PointsHandler {
namespace {
TArray<FString> g_pending;
TArray<OnlinePlayer> g_online;
}  // namespace

bool SameEosId(const FString& a, const FString& b) {
  if (a.Len() != b.Len()) return false;
  if (a.Len() == 0) return true;
  return Game::FGenericPlatformStricmp_::StricmpWide(*a, *b) == 0;
}

std::string SessionOrderKey(const FString& eosId) {
  std::string key = "session:";
  for (const char16_t c : std::u16string_view(*eosId, static_cast<std::size_t>(eosId.Len())))
    key += static_cast<char>(c < 0x80 ? ToLowerAscii(c) : u'?');
  return key;
}

TArray<FString>& PendingLogins() { return g_pending; }
TArray<OnlinePlayer>& OnlinePlayers() { return g_online; }

OnlinePlayer* FindOnline(const FString& eosId) {
  return g_online.FindByPredicate([&](const OnlinePlayer& p) { return SameEosId(p.EosId, eosId); });
}

void AddOnline(const FString& eosId) {
  if (FindOnline(eosId) == nullptr) g_online.Add(OnlinePlayer{eosId, 0, nullptr});
}

bool IsPending(const FString& eosId) {
  return g_pending.FindByPredicate([&](const FString& id) { return SameEosId(id, eosId); }) != nullptr;
}

TandorShop::StateSize OnlineListSize() {
  TandorShop::StateSize size{static_cast<std::size_t>(g_online.Num()), TandorShop::BufferBytes(g_online)};
  for (const OnlinePlayer& player : g_online) size.Bytes += TandorShop::OwnedBytes(player.EosId);
  return size;
}

TandorShop::StateSize PendingListSize() {
  TandorShop::StateSize size{static_cast<std::size_t>(g_pending.Num()), TandorShop::BufferBytes(g_pending)};
  for (const FString& id : g_pending) size.Bytes += TandorShop::OwnedBytes(id);
  return size;
}

int32_t SecondsToStore(int64_t lastRewardTime, int64_t now, int32_t intervalSeconds) {
  if (lastRewardTime == 0) return -1;
  return static_cast<int32_t>(std::clamp<int64_t>(now - lastRewardTime, 0, std::max(intervalSeconds, 0)));
}

}  // namespace PointsHandler
