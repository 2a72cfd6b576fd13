#pragma once
// Long lists go to the mod in batches, one batch per player every fifth tick.
// Each queue owns copies of its elements, so nothing it holds depends on the
// configuration or the request that built it.
#include <cstdint>
#include <deque>
#include <vector>

#include "AsaApi/TArray.h"
#include "AsaApi/WeakObjectPtr.h"
#include "core/StateSize.h"
#include "modcomm/ModEvents.h"
#include "modcomm/ModViews.h"

struct AShooterPlayerController;

namespace ModComm {

template <typename T>
struct ModSendQueue {
  TWeakObjectPtr<AShooterPlayerController> Player;
  std::deque<TArray<T>> Batches;
};

template <typename T>
struct ModSendList {
  BuffEvent Event;
  int32_t BatchSize;
  std::vector<ModSendQueue<T>> Queues;
};

// Splits elements into batches of batchSize, in order.
template <typename T>
std::deque<TArray<T>> SplitIntoBatches(const TArray<T>& elements, int32_t batchSize) {
  std::deque<TArray<T>> batches;
  TArray<T> current;
  int32_t taken = 0;
  for (const T& element : elements) {
    current.Add(element);
    if (++taken % batchSize == 0) {
      batches.push_back(std::move(current));
      current = TArray<T>();
    }
  }
  if (!current.IsEmpty()) batches.push_back(std::move(current));
  return batches;
}

struct SendLists {
  ModSendList<PacketView> Categories{BuffEvent::Category, 10, {}};
  ModSendList<A_TradeTarget> TradeTargets{BuffEvent::InitTrade, 25, {}};
  ModSendList<SellView> Sell{BuffEvent::InitSell, 20, {}};
  ModSendList<RedeemView> Redeem{BuffEvent::InitRedeem, 20, {}};
  ModSendList<A_ShopLogEntry> ShopLog{BuffEvent::InitLogBuy, 50, {}};
  ModSendList<A_TradeLogEntry> TradeLog{BuffEvent::InitLogTrade, 50, {}};
};
SendLists& Lists();

// Queues the elements for the player. A list of the same kind still waiting for
// the same player is replaced by the new one.
template <typename T>
void QueueBatches(ModSendList<T>& list, AShooterPlayerController* controller, const TArray<T>& elements) {
  ModSendQueue<T> queue{TWeakObjectPtr<AShooterPlayerController>(controller),
                        SplitIntoBatches(elements, list.BatchSize)};
  for (ModSendQueue<T>& waiting : list.Queues) {
    if (waiting.Player.ObjectIndex == queue.Player.ObjectIndex &&
        waiting.Player.ObjectSerialNumber == queue.Player.ObjectSerialNumber) {
      waiting.Batches = std::move(queue.Batches);
      return;
    }
  }
  list.Queues.push_back(std::move(queue));
}

// The paced sender, on every tick.
void DrainModQueues();
// Drops every waiting list (unload).
void ClearModQueues();
// Batches waiting in all lists, for tests and benchmarks.
std::size_t WaitingBatchCount();
// The queues of all lists (entries: queues, waiting or served-out) and what they hold.
TandorShop::StateSize SendQueueSize();

}  // namespace ModComm
