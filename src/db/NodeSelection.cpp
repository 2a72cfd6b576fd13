#include "db/NodeSelection.h"

#include <mysql.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "config/HostList.h"
#include "core/Log.h"
#include "db/NodeDirectory.h"
#include "db/NodeStatus.h"

namespace DBHelper {
namespace {

using ConfigHelper::DatabaseEndpoint;
using Clock = NodeDirectory::Clock;

// With more than one node, a node that does not answer costs at most this long
// before the next one is tried (a single server keeps the thread's timeout).
constexpr unsigned int kNodeConnectTimeoutSeconds = 3;

struct Attempt {
  const ConfigHelper::HostList& list;
  const mysql::connect_options& base;
  const DBSettings& settings;

  bool Several() const { return list.endpoints.size() > 1; }

  mysql::connect_options OptionsFor(const DatabaseEndpoint& node) const {
    mysql::connect_options options = base;
    options.server = node.host;
    options.port = node.port;
    if (Several() && (options.timeout == 0 || options.timeout > kNodeConnectTimeoutSeconds))
      options.timeout = kNodeConnectTimeoutSeconds;
    return options;
  }

  void Failed(const DatabaseEndpoint& node, const std::string& why) const {
    if (Nodes().NoteFailed(node.Label(), settings.generation, Clock::now()) && Several())
      TandorShop::Log().warn("Database node {} skipped: {}", node.Label(), why);
  }

  void Usable(const DatabaseEndpoint& node, std::size_t rank, bool galera, mysql::connection& connection) const {
    if (Nodes().NoteUsable(node.Label(), settings.generation) && Several())
      TandorShop::Log().info("Database node {} is ready again", node.Label());
    connection.set_placement({rank, galera, Clock::now()});
  }
};

NodeStatus AskStatus(mysql::connection& connection) {
  std::vector<std::pair<std::string, std::string>> variables;
  mysql::result rows = connection.query(kNodeStatusQuery);
  for (mysql::row_view row : rows) variables.emplace_back(row.text(0), row.text(1));
  return ReadNodeStatus(variables);
}

enum class Outcome { Kept, Failed, LastResort };

// A node given up: its connection closed, and nothing it did counts as an
// unknown commit outcome of the operation (it ran no statement of it).
void GiveUp(mysql::connection& connection) {
  connection.close();
  connection.clear_error();
}

// One node: connect, and unless it is known to be a plain server, ask it how it is.
Outcome TryNode(const Attempt& attempt, std::size_t rank, mysql::connection& connection, bool acceptDesynced) {
  const DatabaseEndpoint& node = attempt.list.endpoints[rank];
  const std::string label = node.Label();
  const uint64_t generation = attempt.settings.generation;
  if (!connection.open(attempt.OptionsFor(node))) {
    attempt.Failed(node, "it refused the connection or did not answer");
    return Outcome::Failed;
  }
  if (Nodes().Kind(label, generation) == NodeKind::Plain) {
    attempt.Usable(node, rank, false, connection);
    return Outcome::Kept;
  }
  try {
    const NodeStatus status = AskStatus(connection);
    if (status.state == NodeState::Plain) {
      Nodes().NoteKind(label, generation, NodeKind::Plain);
      attempt.Usable(node, rank, false, connection);
      return Outcome::Kept;
    }
    Nodes().NoteKind(label, generation, NodeKind::Galera);
    if (status.state == NodeState::Synced || (status.state == NodeState::Desynced && acceptDesynced)) {
      connection.set_session(kCausalReads);
      attempt.Usable(node, rank, true, connection);
      return Outcome::Kept;
    }
    GiveUp(connection);
    attempt.Failed(node, "not ready (" + status.detail + ")");
    return status.state == NodeState::Desynced ? Outcome::LastResort : Outcome::Failed;
  } catch (const std::exception& e) {
    GiveUp(connection);
    attempt.Failed(node, std::string("its status could not be read: ") + e.what());
    return Outcome::Failed;
  }
}

// The nodes in list order, those that failed a moment ago after the others.
std::vector<std::size_t> TryingOrder(const Attempt& attempt) {
  std::vector<std::size_t> order, later;
  const auto now = Clock::now();
  for (std::size_t rank = 0; rank < attempt.list.endpoints.size(); ++rank) {
    const bool avoided = Nodes().Avoided(attempt.list.endpoints[rank].Label(), attempt.settings.generation, now);
    (avoided ? later : order).push_back(rank);
  }
  order.insert(order.end(), later.begin(), later.end());
  return order;
}

}  // namespace

bool OpenOnFirstReadyNode(mysql::connection& connection, const mysql::connect_options& base,
                          const DBSettings& settings) {
  const ConfigHelper::HostList list = ConfigHelper::ParseHostList(settings.server, settings.port);
  if (!list.Valid()) {
    TandorShop::Log().error("Mysql server \"{}\" is not a host or a list of hosts: {}", settings.server, list.error);
    return false;
  }
  const Attempt attempt{list, base, settings};
  std::optional<std::size_t> lastResort;
  for (const std::size_t rank : TryingOrder(attempt)) {
    const Outcome outcome = TryNode(attempt, rank, connection, false);
    if (outcome == Outcome::Kept) return true;
    if (outcome == Outcome::LastResort && !lastResort) lastResort = rank;
  }
  return lastResort && TryNode(attempt, *lastResort, connection, true) == Outcome::Kept;
}

}  // namespace DBHelper
