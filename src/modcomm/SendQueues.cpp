#include "modcomm/SendQueues.h"

#include <algorithm>

#include "core/Log.h"
#include "modcomm/ViewBytes.h"

namespace ModComm {
namespace {

uint64_t g_calls = 0;

template <typename T>
void Serve(ModSendList<T>& list) {
  auto& queues = list.Queues;
  for (std::size_t i = 0; i < queues.size();) {
    ModSendQueue<T>& queue = queues[i];
    AShooterPlayerController* player = queue.Player.Get();
    if (queue.Batches.empty() || player == nullptr) {
      queues.erase(queues.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    TArray<T> batch = std::move(queue.Batches.front());
    queue.Batches.pop_front();
    SendToPlayerBuff(player, list.Event, batch);
    ++i;
  }
}

template <typename T>
bool ServeIfWaiting(ModSendList<T>& list) {
  if (list.Queues.empty()) return false;
  Serve(list);
  return true;
}

// A deque keeps its elements in 512-byte blocks reached through a map of block
// pointers; even an empty one holds a block and a map of eight.
template <typename E>
std::size_t DequeBytes(std::size_t size) {
  constexpr std::size_t kBlock = 512;
  constexpr std::size_t perBlock = sizeof(E) < kBlock ? kBlock / sizeof(E) : 1;
  const std::size_t blocks = size / perBlock + 1;
  return std::max<std::size_t>(blocks + 2, 8) * sizeof(void*) + blocks * std::max(kBlock, sizeof(E));
}

template <typename T>
TandorShop::StateSize SizeOf(const ModSendList<T>& list) {
  TandorShop::StateSize size{list.Queues.size(), list.Queues.capacity() * sizeof(ModSendQueue<T>)};
  for (const ModSendQueue<T>& queue : list.Queues) {
    size.Bytes += DequeBytes<TArray<T>>(queue.Batches.size());
    for (const TArray<T>& batch : queue.Batches) size.Bytes += ArrayBytes(batch);
  }
  return size;
}

}  // namespace

SendLists& Lists() {
  static SendLists lists;
  return lists;
}

void DrainModQueues() {
  if (++g_calls % 5 != 0) return;
  SendLists& lists = Lists();
  ServeIfWaiting(lists.Categories) || ServeIfWaiting(lists.TradeTargets) || ServeIfWaiting(lists.Sell) ||
      ServeIfWaiting(lists.Redeem) || ServeIfWaiting(lists.ShopLog) || ServeIfWaiting(lists.TradeLog);
}

void ClearModQueues() {
  SendLists& lists = Lists();
  lists.Categories.Queues.clear();
  lists.TradeTargets.Queues.clear();
  lists.Sell.Queues.clear();
  lists.Redeem.Queues.clear();
  lists.ShopLog.Queues.clear();
  lists.TradeLog.Queues.clear();
}

std::size_t WaitingBatchCount() {
  std::size_t count = 0;
  auto add = [&count](const auto& list) {
    for (const auto& queue : list.Queues) count += queue.Batches.size();
  };
  SendLists& lists = Lists();
  add(lists.Categories);
  add(lists.TradeTargets);
  add(lists.Sell);
  add(lists.Redeem);
  add(lists.ShopLog);
  add(lists.TradeLog);
  return count;
}

TandorShop::StateSize SendQueueSize() {
  const SendLists& lists = Lists();
  return SizeOf(lists.Categories) + SizeOf(lists.TradeTargets) + SizeOf(lists.Sell) + SizeOf(lists.Redeem) +
         SizeOf(lists.ShopLog) + SizeOf(lists.TradeLog);
}

}  // namespace ModComm
