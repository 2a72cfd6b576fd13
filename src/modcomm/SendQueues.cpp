#include "modcomm/SendQueues.h"

#include "core/Log.h"

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

}  // namespace ModComm
