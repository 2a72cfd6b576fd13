#pragma once
// Opening a connection on the first ready node of the "server" list.
#include "db/DBSettings.h"
#include "db/MysqlConnection.h"

namespace DBHelper {

// Connects to the nodes of settings.server in list order, nodes that failed a
// moment ago last, and keeps the first that is ready: a plain server, or a
// Galera node that is synced in the Primary component (a ready node that is not
// synced, such as a donor, only when no node is synced). On Galera the session
// waits for causality on reads (wsrep_sync_wait), so a player who moved from
// another game server reads what that server committed. A plain server is asked
// once per process whether it is one; later connections to it cost nothing more
// than before. False (no handle) when no node is usable.
bool OpenOnFirstReadyNode(mysql::connection& connection, const mysql::connect_options& base,
                          const DBSettings& settings);

// The session setting of every connection to a Galera node.
inline constexpr const char* kCausalReads = "SET SESSION wsrep_sync_wait=1";

}  // namespace DBHelper
