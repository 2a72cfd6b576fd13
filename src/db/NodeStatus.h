#pragma once
// What a database node says about itself, read from its status variables: a
// plain server, or a Galera node and whether it is ready for the shop.
#include <string>
#include <utility>
#include <vector>

namespace DBHelper {

enum class NodeState {
  Plain,     // no Galera provider: a MariaDB or MySQL server of its own
  Synced,    // a Galera node in the Primary component, ready and synced
  Desynced,  // in the Primary component and ready, but not synced (a donor): a last resort
  NotReady   // joining, outside the Primary component, disconnected: refuses the shop's statements
};

struct NodeStatus {
  NodeState state = NodeState::Plain;
  std::string detail;  // the node's own words for a state other than Plain and Synced
};

// The statement whose rows ReadNodeStatus reads: name and value of each variable.
extern const char* const kNodeStatusQuery;

NodeStatus ReadNodeStatus(const std::vector<std::pair<std::string, std::string>>& variables);

}  // namespace DBHelper
