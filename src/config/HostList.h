#pragma once
// The "server" setting of the "Mysql" section: one host, or a list of database
// nodes tried in order ("db1:3306,db2:3306,db3"). A host without a port takes
// the "port" setting.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ConfigHelper {

struct DatabaseEndpoint {
  std::string host;  // as the client library takes it: a name, an IPv4 or an IPv6 address
  uint32_t port = 0;

  bool operator==(const DatabaseEndpoint&) const = default;
  // "host:port", "[v6]:port": the node as a log line or an admin names it.
  std::string Label() const;
};

struct HostList {
  std::vector<DatabaseEndpoint> endpoints;
  std::string error;  // why the text is not a host list; endpoints are then empty

  bool Valid() const { return error.empty(); }
};

// Blanks around the entries are ignored. An IPv6 address with a port is written
// in brackets ("[::1]:3306"). An empty text is the client library's default host
// (one endpoint with an empty host), as a single host always was.
HostList ParseHostList(std::string_view server, uint32_t defaultPort);

}  // namespace ConfigHelper
