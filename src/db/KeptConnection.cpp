#include "db/KeptConnection.h"

#include <memory>
#include <mysql.h>

#include <chrono>

#include "db/DBConnection.h"

namespace DBHelper {
namespace {

using SteadyClock = std::chrono::steady_clock;
// A connection idle longer than this is pinged before use: servers drop idle
// sessions (wait_timeout), and a ping costs one round trip.
constexpr auto kIdleBeforePing = std::chrono::minutes(3);

struct KeptSlot {
  bool worker = false;
  std::shared_ptr<mysql::connection> connection;
  uint64_t generation = 0;
  SteadyClock::time_point lastUse{};
  uint64_t opens = 0;
};

thread_local KeptSlot t_slot;

void CloseSlot() {
  t_slot.connection.reset();
  t_slot.worker = false;
}

// A connection that went to a later node of the host list (the first was down
// or not ready) is opened again when taken after backToFirstNodeSeconds, so it
// comes back to the first node once that is ready: a game server then writes
// through one node, and several game servers through the same one, which keeps
// Galera's certification conflicts away. Meanwhile it stays where it is: a node
// that flaps does not move every operation.
bool OnLaterNode(mysql::connection& connection, const DBSettings& settings) {
  const mysql::node_placement placement = connection.placement();
  return placement.rank > 0 &&
         SteadyClock::now() - placement.since > std::chrono::seconds(settings.backToFirstNodeSeconds);
}

bool NeedsPing(mysql::connection& connection) {
  return connection.had_error() || connection.peer_closed() || SteadyClock::now() - t_slot.lastUse > kIdleBeforePing;
}

}  // namespace

WorkerConnectionScope::WorkerConnectionScope() { t_slot.worker = true; }

WorkerConnectionScope::~WorkerConnectionScope() {
  const bool used = t_slot.opens > 0;
  CloseSlot();
  if (used) mysql_thread_end();  // the client library's per-thread state
}

bool OnWorkerThread() { return t_slot.worker; }

std::shared_ptr<void> MakeWorkerConnectionScope() { return std::make_shared<WorkerConnectionScope>(); }

std::shared_ptr<mysql::connection> TakeKeptConnection(const DBSettings& settings) {
  if (!t_slot.worker || !settings.keepConnections) {
    t_slot.connection.reset();  // the setting was turned off: close what was kept
    return nullptr;
  }
  std::shared_ptr<mysql::connection>& kept = t_slot.connection;
  const bool current =
      kept && kept->has_handle() && t_slot.generation == settings.generation && !OnLaterNode(*kept, settings);
  if (current && (!NeedsPing(*kept) || kept->is_open())) {
    kept->clear_error();
    return kept;
  }
  kept = std::make_shared<mysql::connection>();
  t_slot.generation = settings.generation;
  ++t_slot.opens;
  OpenConnection(*kept, settings, Reconnect::ByOwner);
  return kept;
}

void ReturnKeptConnection() { t_slot.lastUse = SteadyClock::now(); }

uint64_t KeptConnectionOpens() { return t_slot.opens; }

}  // namespace DBHelper
