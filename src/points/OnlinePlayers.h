#pragma once
// Who is waiting for a character and who is online, with the time their next
// passive reward counts from. Game thread only.
#include <atomic>
#include <cstdint>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"
#include "core/StateSize.h"

namespace PointsHandler {

// A passive reward whose credit is on its way. The player's reward time has moved
// on already; when the credit does not commit it moves back, so the reward stays
// due and the next check pays it.
struct RewardInFlight {
  int64_t PreviousRewardTime = 0;
  std::atomic<bool> Credited{false};  // set by the worker before the continuation runs
  // The answer to the credit's commit was lost and its id could not be looked up:
  // the reward time stays where it is, so the reward is never paid twice.
  std::atomic<bool> Unknown{false};
};

struct OnlinePlayer {
  FString EosId;
  int64_t LastRewardTime = 0;  // 0 until the stored seconds arrived
  std::shared_ptr<RewardInFlight> Reward;  // set while a reward's credit is on its way
};

// EOS ids compare without regard to case, and only when their lengths agree.
bool SameEosId(const FString& a, const FString& b);
// A hash that agrees with SameEosId: letters of ASCII folded, every other
// character counted alike.
struct EosIdHash {
  std::size_t operator()(const FString& eosId) const;
};
struct EosIdEqual {
  bool operator()(const FString& a, const FString& b) const { return SameEosId(a, b); }
};
template <typename Value>
using ByEosId = std::unordered_map<FString, Value, EosIdHash, EosIdEqual>;
using EosIdSet = std::unordered_set<FString, EosIdHash, EosIdEqual>;
// The worker-pool key that keeps one player's session writes (login, stored
// seconds, logout) in the order the game saw them.
std::string SessionOrderKey(const FString& eosId);

// Players between their login and their character, by EOS id.
EosIdSet& PendingLogins();
// Players online, by EOS id; each entry's EosId is the key.
ByEosId<OnlinePlayer>& OnlinePlayers();

OnlinePlayer* FindOnline(const FString& eosId);
// Adds a player (time 0) unless one with an equal id is there.
void AddOnline(const FString& eosId);
bool IsPending(const FString& eosId);

// The two lists and the ids they hold.
TandorShop::StateSize OnlineListSize();
TandorShop::StateSize PendingListSize();

// Seconds towards the next reward to store at logout, or -1 to store nothing
// (the login never completed).
int32_t SecondsToStore(int64_t lastRewardTime, int64_t now, int32_t intervalSeconds);

}  // namespace PointsHandler
