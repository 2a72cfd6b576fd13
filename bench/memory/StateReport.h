#pragma once
// The plugin's own state, read through its size accessors, and the process's memory.
#include <cstddef>
#include <string>

#include "core/StateSize.h"

namespace membench {

struct StateReport {
  TandorShop::StateSize Online, Pending, Throttles, Queues, Assets, Views;
  std::size_t PoolTasks = 0;   // queued and finished-but-not-handed-back database work
  std::size_t RssBytes = 0;    // resident set of the whole process
  std::size_t HeapBytes = 0;   // bytes in use by malloc in the whole process

  // What grows with players: online and pending lists, throttles, send queues.
  std::size_t PlayerStateBytes() const { return Online.Bytes + Pending.Bytes + Throttles.Bytes + Queues.Bytes; }
  // The same without the throttles (which hold the players of the last half second).
  std::size_t SessionStateBytes() const { return Online.Bytes + Pending.Bytes + Queues.Bytes; }
  // What the configuration sizes: loaded assets and the views of packets, categories and items to sell.
  std::size_t CacheBytes() const { return Assets.Bytes + Views.Bytes; }
};

StateReport ReadState();

std::string TableHeader();
std::string TableRow(const std::string& label, std::size_t online, std::size_t sessions, std::size_t distinct,
                     const StateReport& report);

}  // namespace membench
