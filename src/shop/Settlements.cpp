#include "shop/Settlements.h"

#include <memory>
#include <utility>
#include <vector>

#include "core/Clock.h"
#include "core/Log.h"
#include "core/ThreadPool.h"

namespace TandorShop::Settlements {
namespace {

struct Waiting_ {
  std::function<bool()> Write;
  int64_t Due = 0;
};

std::vector<Waiting_> g_waiting;

void Try(std::function<bool()> write, std::function<void(bool)> done) {
  auto landed = std::make_shared<bool>(false);
  Pool().PostTask(PoolTask::MakeWork(
      [write, landed](ArkTandor_AsyncTaskResults&) {
        try {
          *landed = write();
        } catch (...) {
          *landed = false;
        }
      },
      [write, landed, done = std::move(done)](ArkTandor_AsyncTaskResults) {
        if (!*landed) g_waiting.push_back({write, Clock::NowUnix() + kRetrySeconds});
        if (done) done(*landed);
      }));
}

}  // namespace

void Post(std::function<bool()> write, std::function<void(bool landed)> done) { Try(std::move(write), std::move(done)); }

void RetryDue() {
  if (g_waiting.empty()) return;
  const int64_t now = Clock::NowUnix();
  std::vector<Waiting_> still;
  std::vector<Waiting_> due;
  for (Waiting_& entry : g_waiting) (entry.Due <= now ? due : still).push_back(std::move(entry));
  g_waiting = std::move(still);
  for (Waiting_& entry : due) Try(std::move(entry.Write), {});
}

std::size_t Waiting() { return g_waiting.size(); }

void Forget() {
  if (!g_waiting.empty())
    Log().error("{} settlements (refunds, held units, sale credits) were never written; see their warnings",
                g_waiting.size());
  g_waiting.clear();
}

}  // namespace TandorShop::Settlements
