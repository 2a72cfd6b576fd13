#include "db/NodeStatus.h"

#include <string_view>

namespace DBHelper {
namespace {

std::string Value(const std::vector<std::pair<std::string, std::string>>& variables, std::string_view name) {
  for (const auto& [key, value] : variables)
    if (key == name) return value;
  return {};
}

}  // namespace

// SHOW STATUS answers on a node that is not ready, and on a server without
// Galera (which lists no provider name, or no wsrep variables at all).
const char* const kNodeStatusQuery =
    "SHOW GLOBAL STATUS WHERE Variable_name IN ('wsrep_provider_name','wsrep_ready','wsrep_connected',"
    "'wsrep_cluster_status','wsrep_local_state_comment')";

NodeStatus ReadNodeStatus(const std::vector<std::pair<std::string, std::string>>& variables) {
  if (Value(variables, "wsrep_provider_name").empty()) return {NodeState::Plain, {}};
  const std::string ready = Value(variables, "wsrep_ready");
  const std::string connected = Value(variables, "wsrep_connected");
  const std::string component = Value(variables, "wsrep_cluster_status");
  const std::string state = Value(variables, "wsrep_local_state_comment");
  const std::string detail = "wsrep_ready=" + ready + ", wsrep_cluster_status=" + component +
                             ", wsrep_local_state_comment=" + state;
  if (ready != "ON" || component != "Primary" || (!connected.empty() && connected != "ON"))
    return {NodeState::NotReady, detail};
  if (state != "Synced") return {NodeState::Desynced, detail};
  return {NodeState::Synced, {}};
}

}  // namespace DBHelper
