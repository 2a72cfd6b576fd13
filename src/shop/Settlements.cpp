#include "shop/Settlements.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/Clock.h"
#include "core/Log.h"
#include "core/ThreadPool.h"

namespace TandorShop::Settlements {
namespace {

struct Pending {
  std::string What;
  Write Do;
  std::function<void()> WhenLanded;
  int Attempts = 0;
  int64_t Due = 0;
  bool Running = false;
  // The last try's outcome, written by the worker that ran it; read on the game
  // thread by its continuation, or at unload once the workers were joined.
  Outcome Last = Outcome::Failed;
};
using Entry = std::shared_ptr<Pending>;

// Every settlement that has neither landed nor been given up. Game thread only.
std::vector<Entry> g_open;

Outcome RunGuarded(const Write& write) {
  try {
    return write();
  } catch (...) {
    return Outcome::Failed;
  }
}

int64_t PauseAfter(int attempts) {
  int64_t pause = kRetrySeconds;
  for (int i = 1; i < attempts && pause < kLongestPauseSeconds; ++i) pause *= 2;
  return std::min<int64_t>(pause, kLongestPauseSeconds);
}

void Close(const Entry& entry) { std::erase(g_open, entry); }

void GiveUp(const Entry& entry, const char* why) {
  Log().error("Settlement given up in this run after {} tries ({}): {}", entry->Attempts, why, entry->What);
  Close(entry);
}

// After a try, on the game thread.
void AfterTry(const Entry& entry) {
  entry->Running = false;
  switch (entry->Last) {
    case Outcome::Landed:
      Close(entry);
      if (entry->WhenLanded) entry->WhenLanded();
      return;
    case Outcome::GivenUp: return Close(entry);  // the database layer logged why
    case Outcome::Failed: break;
  }
  if (entry->Attempts >= kMaxAttempts) return GiveUp(entry, "no try landed");
  entry->Due = Clock::NowUnix() + PauseAfter(entry->Attempts);
}

void Try(const Entry& entry, std::function<void()> afterTry) {
  ++entry->Attempts;
  entry->Running = true;
  if (entry->Attempts > 1)
    Log().info("Settlement tried again (try {} of {}): {}", entry->Attempts, kMaxAttempts, entry->What);
  Pool().PostTask(PoolTask::MakeWork([entry](ArkTandor_AsyncTaskResults&) { entry->Last = RunGuarded(entry->Do); },
                                     [entry, afterTry = std::move(afterTry)](ArkTandor_AsyncTaskResults) {
                                       AfterTry(entry);
                                       if (afterTry) afterTry();
                                     }));
}

}  // namespace

void Post(std::string what, Write write, std::function<void()> afterFirstTry, std::function<void()> whenLanded) {
  auto entry = std::make_shared<Pending>();
  entry->What = std::move(what);
  entry->Do = std::move(write);
  entry->WhenLanded = std::move(whenLanded);
  g_open.push_back(entry);
  Try(entry, std::move(afterFirstTry));
}

void RetryDue() {
  const int64_t now = Clock::NowUnix();
  const std::vector<Entry> open = g_open;
  for (const Entry& entry : open)
    if (!entry->Running && entry->Due <= now) Try(entry, {});
}

std::size_t Waiting() { return g_open.size(); }

void SettleBeforeUnload() {
  const std::vector<Entry> open = g_open;
  for (const Entry& entry : open) {
    // A try the stopped workers ran last: its continuation will not run.
    if (entry->Running && entry->Last != Outcome::Failed) {
      Close(entry);
      continue;
    }
    ++entry->Attempts;
    entry->Running = false;
    entry->Last = RunGuarded(entry->Do);
    if (entry->Last == Outcome::Failed)
      GiveUp(entry, "the plugin unloads");
    else
      Close(entry);
  }
}

void Forget() {
  const std::vector<Entry> open = g_open;
  for (const Entry& entry : open) GiveUp(entry, "the plugin unloads");
  g_open.clear();
}

}  // namespace TandorShop::Settlements
