#include "StateReport.h"

#include <malloc.h>
#include <unistd.h>

#include <fstream>

#include <fmt/format.h>

#include "core/ThreadPool.h"
#include "modcomm/GameAssets.h"
#include "modcomm/ModMessages.h"
#include "modcomm/PacketViews.h"
#include "modcomm/SendQueues.h"
#include "points/OnlinePlayers.h"

namespace membench {
namespace {

std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

double KiB(std::size_t bytes) { return static_cast<double>(bytes) / 1024.0; }

}  // namespace

StateReport ReadState() {
  StateReport report;
  report.Online = PointsHandler::OnlineListSize();
  report.Pending = PointsHandler::PendingListSize();
  report.Throttles = ModComm::ThrottleSize();
  report.Queues = ModComm::SendQueueSize();
  report.Assets = ModComm::AssetCacheSize();
  report.Views = ModComm::ViewCacheSize();
  report.PoolTasks = TandorShop::Pool().QueuedCount() + TandorShop::Pool().PendingCount();
  report.RssBytes = ResidentBytes();
  report.HeapBytes = ::mallinfo2().uordblks;
  return report;
}

std::string TableHeader() {
  return fmt::format("{:>8} {:>6} {:>8} {:>8} | {:>13} {:>15} {:>13} {:>10} | {:>10} {:>11} | {:>9} {:>9}\n", "time",
                     "online", "sessions", "distinct", "online list", "throttles", "send queues", "caches",
                     "session/pl", "all/player", "RSS MiB", "heap MiB");
}

std::string TableRow(const std::string& label, std::size_t online, std::size_t sessions, std::size_t distinct,
                     const StateReport& r) {
  const double perPlayer = online == 0 ? 0.0 : static_cast<double>(r.SessionStateBytes()) / static_cast<double>(online);
  const double allPerPlayer =
      online == 0 ? 0.0 : static_cast<double>(r.PlayerStateBytes()) / static_cast<double>(online);
  return fmt::format(
      "{:>8} {:>6} {:>8} {:>8} | {:>4} {:>6.1f} KiB {:>6} {:>6.1f} KiB {:>4} {:>6.1f} KiB {:>6.1f} KiB | {:>8.0f} B "
      "{:>9.0f} B | {:>9.1f} {:>9.1f}\n",
      label, online, sessions, distinct, r.Online.Entries, KiB(r.Online.Bytes), r.Throttles.Entries,
      KiB(r.Throttles.Bytes), r.Queues.Entries, KiB(r.Queues.Bytes), KiB(r.CacheBytes()), perPlayer, allPerPlayer,
      static_cast<double>(r.RssBytes) / 1048576.0, static_cast<double>(r.HeapBytes) / 1048576.0);
}

}  // namespace membench
