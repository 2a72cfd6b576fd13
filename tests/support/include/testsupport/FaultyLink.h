#pragma once
// The faulty link lives with the simulator, so that the storm can put it between
// its game servers and the database too; the tests name it here as before.
#include <string>

#include "sim/faultylink/FaultyLink.h"
#include "testsupport/Database.h"

namespace testsupport {
using sim::faultylink::FaultyLink;

// A link in front of the database of the settings: its first node when the
// server is a cluster's host list ("h1:p1,h2:p2"), the one the shop writes to.
inline FaultyLink LinkInFrontOf(const DatabaseSettings& settings) {
  std::string first = settings.Host.substr(0, settings.Host.find(','));
  uint16_t port = settings.Port;
  const std::size_t colon = first.rfind(':');
  if (colon != std::string::npos && first.find(']') == std::string::npos) {
    port = static_cast<uint16_t>(std::stoi(first.substr(colon + 1)));
    first.resize(colon);
  }
  return FaultyLink(first, port);
}
}  // namespace testsupport
