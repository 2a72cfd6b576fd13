#include "points/OnlinePlayers.h"

#include <algorithm>
#include <string_view>

#include "AsaApi/Game/FGenericPlatformStricmp.h"

namespace PointsHandler {
namespace {
EosIdSet g_pending;
ByEosId<OnlinePlayer> g_online;

// A hash table's buckets and nodes, each node holding `value` and the next pointer.
template <typename Table>
std::size_t TableBytes(const Table& table, std::size_t value) {
  return table.bucket_count() * sizeof(void*) + table.size() * (sizeof(void*) + value);
}
}  // namespace

bool SameEosId(const FString& a, const FString& b) {
  if (a.Len() != b.Len()) return false;
  if (a.Len() == 0) return true;
  return Game::FGenericPlatformStricmp_::StricmpWide(*a, *b) == 0;
}

std::size_t EosIdHash::operator()(const FString& eosId) const {
  std::size_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char16_t c : std::u16string_view(*eosId, static_cast<std::size_t>(eosId.Len()))) {
    hash ^= static_cast<std::size_t>(c < 0x80 ? ToLowerAscii(c) : u'?');
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string SessionOrderKey(const FString& eosId) {
  std::string key = "session:";
  for (const char16_t c : std::u16string_view(*eosId, static_cast<std::size_t>(eosId.Len())))
    key += static_cast<char>(c < 0x80 ? ToLowerAscii(c) : u'?');
  return key;
}

EosIdSet& PendingLogins() { return g_pending; }
ByEosId<OnlinePlayer>& OnlinePlayers() { return g_online; }

OnlinePlayer* FindOnline(const FString& eosId) {
  const auto found = g_online.find(eosId);
  return found == g_online.end() ? nullptr : &found->second;
}

void AddOnline(const FString& eosId) { g_online.try_emplace(eosId, OnlinePlayer{eosId, 0, nullptr}); }

bool IsPending(const FString& eosId) { return g_pending.contains(eosId); }

TandorShop::StateSize OnlineListSize() {
  TandorShop::StateSize size{g_online.size(),
                             TableBytes(g_online, sizeof(std::pair<const FString, OnlinePlayer>))};
  for (const auto& [id, player] : g_online) size.Bytes += TandorShop::OwnedBytes(id) + TandorShop::OwnedBytes(player.EosId);
  return size;
}

TandorShop::StateSize PendingListSize() {
  TandorShop::StateSize size{g_pending.size(), TableBytes(g_pending, sizeof(FString))};
  for (const FString& id : g_pending) size.Bytes += TandorShop::OwnedBytes(id);
  return size;
}

int32_t SecondsToStore(int64_t lastRewardTime, int64_t now, int32_t intervalSeconds) {
  if (lastRewardTime == 0) return -1;
  return static_cast<int32_t>(std::clamp<int64_t>(now - lastRewardTime, 0, std::max(intervalSeconds, 0)));
}

}  // namespace PointsHandler
