#include "db/Attempts.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "core/Log.h"
#include "core/PluginState.h"
#include "db/KeptConnection.h"
#include "db/MysqlErrors.h"

namespace DBHelper {
namespace {

constexpr unsigned int kDeadlock = 1213;
constexpr unsigned int kLockWaitTimeout = 1205;
constexpr unsigned int kUnknownCommand = 1047;  // a Galera node outside the primary component
constexpr unsigned int kServerShutdown = 1053;
constexpr unsigned int kCantConnect = 2003;

// Workers wait up to about five seconds in all: long enough for a cluster to
// leave a dead node behind, short enough for a player's click. The game thread
// (admin commands) tries twice, quickly.
constexpr int kWorkerTries = 8;
constexpr int kGameThreadTries = 2;
constexpr auto kFirstPause = std::chrono::milliseconds(50);
constexpr auto kLongestPause = std::chrono::milliseconds(2000);

struct Try {
  unsigned int retryableError = 0;
  bool commitSent = false;
};

thread_local int t_depth = 0;
thread_local Try t_try;
thread_local int t_tries = 0;

std::atomic<uint64_t> g_retries{0};
std::atomic<uint64_t> g_gaveUp{0};

int MaxTries() { return OnWorkerThread() ? kWorkerTries : kGameThreadTries; }

std::chrono::milliseconds PauseBefore(int nextTry) {
  thread_local std::minstd_rand random{std::random_device{}()};
  const auto grown = kFirstPause * (1 << std::min(nextTry - 2, 10));
  const auto ceiling = std::min<std::chrono::milliseconds>(grown, kLongestPause);
  std::uniform_int_distribution<long long> pick(ceiling.count() / 2, ceiling.count());
  return std::chrono::milliseconds(pick(random));
}

}  // namespace

bool IsRetryableError(unsigned int error) noexcept {
  return error == kDeadlock || error == kLockWaitTimeout || error == kUnknownCommand || error == kServerShutdown ||
         error == kCantConnect || mysql::is_connection_lost(error);
}

void NoteStatementError(unsigned int error) noexcept {
  if (IsRetryableError(error) && t_try.retryableError == 0) t_try.retryableError = error;
}

void NoteCommitSent() noexcept { t_try.commitSent = true; }

void NoteCommitNotKept() noexcept {
  t_try.commitSent = false;
  if (t_try.retryableError == 0) t_try.retryableError = 2013;
}

bool FailureWillBeRetried() noexcept {
  return t_depth > 0 && t_try.retryableError != 0 && !t_try.commitSent && t_tries < MaxTries() &&
         !TandorShop::Unloading.load();
}

RetryCounts RetryCountsSoFar() noexcept { return {g_retries.load(), g_gaveUp.load()}; }

AttemptScope::AttemptScope(std::string_view qualifiedName) noexcept : name_(qualifiedName), outer_(t_depth == 0) {
  ++t_depth;
}

AttemptScope::~AttemptScope() {
  --t_depth;
  if (outer_) {
    t_try = {};
    t_tries = 0;
  }
}

void AttemptScope::Begin() noexcept {
  t_try = {};
  t_tries = ++tries_;
}

bool AttemptScope::RunAgain() noexcept {
  const Try ended = t_try;
  if (ended.retryableError == 0 || ended.commitSent) return false;
  if (tries_ >= MaxTries() || TandorShop::Unloading.load()) {
    g_gaveUp.fetch_add(1, std::memory_order_relaxed);
    try {
      TandorShop::Log().warn("{}: gave up after {} tries; the last failed with error {}", name_, tries_,
                             ended.retryableError);
    } catch (...) {
    }
    return false;
  }
  g_retries.fetch_add(1, std::memory_order_relaxed);
  try {
    TandorShop::Log().debug("{}: try {} after error {}", name_, tries_ + 1, ended.retryableError);
  } catch (...) {
  }
  std::this_thread::sleep_for(PauseBefore(tries_ + 1));
  return true;
}

}  // namespace DBHelper
