#include "config/HostList.h"

#include <cctype>
#include <charconv>

#include <fmt/format.h>

namespace ConfigHelper {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool HostCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}

bool PlainHost(std::string_view host) {
  if (host.empty()) return false;
  for (const char c : host)
    if (!HostCharacter(c)) return false;
  return true;
}

bool Ipv6Address(std::string_view host) {
  if (host.find(':') == std::string_view::npos) return false;
  for (const char c : host)
    if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') return false;
  return true;
}

// A port: 1 to 65535 in decimal.
bool ReadPort(std::string_view text, uint32_t& port) {
  if (text.empty()) return false;
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535) return false;
  port = value;
  return true;
}

// One entry of the list; the error text when it is not a host with an optional port.
std::string ReadEntry(std::string_view entry, uint32_t defaultPort, DatabaseEndpoint& out) {
  out.port = defaultPort;
  std::string_view host = entry;
  std::string_view port;
  if (!entry.empty() && entry.front() == '[') {
    const std::size_t close = entry.find(']');
    if (close == std::string_view::npos) return fmt::format("\"{}\" has no closing bracket", entry);
    host = entry.substr(1, close - 1);
    const std::string_view rest = entry.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return fmt::format("\"{}\": only a port may follow the address", entry);
      port = rest.substr(1);
      if (port.empty()) return fmt::format("\"{}\" has no port after the colon", entry);
    }
    if (!Ipv6Address(host)) return fmt::format("\"{}\" is not an IPv6 address", host);
  } else {
    const std::size_t colon = entry.find(':');
    if (colon != std::string_view::npos && entry.find(':', colon + 1) != std::string_view::npos) {
      if (!Ipv6Address(entry)) return fmt::format("\"{}\" has more than one colon", entry);
      host = entry;  // an IPv6 address without a port
    } else {
      if (colon != std::string_view::npos) {
        host = entry.substr(0, colon);
        port = entry.substr(colon + 1);
        if (port.empty()) return fmt::format("\"{}\" has no port after the colon", entry);
      }
      if (!PlainHost(host)) return fmt::format("\"{}\" is not a host name or address", host);
    }
  }
  if (!port.empty() && !ReadPort(port, out.port))
    return fmt::format("\"{}\" is not a port (1 to 65535)", port);
  out.host = std::string(host);
  return {};
}

}  // namespace

std::string DatabaseEndpoint::Label() const {
  if (host.find(':') != std::string::npos) return fmt::format("[{}]:{}", host, port);
  return fmt::format("{}:{}", host, port);
}

HostList ParseHostList(std::string_view server, uint32_t defaultPort) {
  HostList list;
  if (Trimmed(server).empty()) {
    list.endpoints.push_back({std::string(), defaultPort});
    return list;
  }
  std::size_t start = 0;
  while (start <= server.size()) {
    const std::size_t comma = std::min(server.find(',', start), server.size());
    const std::string_view entry = Trimmed(server.substr(start, comma - start));
    DatabaseEndpoint endpoint;
    std::string error =
        entry.empty() ? std::string("an empty entry between commas") : ReadEntry(entry, defaultPort, endpoint);
    if (!error.empty()) {
      list.endpoints.clear();
      list.error = std::move(error);
      return list;
    }
    list.endpoints.push_back(std::move(endpoint));
    start = comma + 1;
  }
  return list;
}

}  // namespace ConfigHelper
