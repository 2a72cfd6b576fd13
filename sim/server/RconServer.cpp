#include "sim/server/RconServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "AsaApi/Game/RCON.h"
#include "AsaApi/Host.h"
#include "sim/server/GameServer.h"

namespace sim {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kMaxBodyPerPacket = 4096;
constexpr int32_t kMinPacketSize = 10;
constexpr int32_t kMaxPacketSize = 4096 + 10;
// How often the serving thread looks for idle connections when nothing happens.
constexpr int kPollMs = 100;

int32_t ReadInt(const char* p) {
  int32_t value;
  std::memcpy(&value, p, 4);
  return value;
}

void AppendInt(std::string& out, int32_t value) {
  char bytes[4];
  std::memcpy(bytes, &value, 4);
  out.append(bytes, 4);
}

std::string Packet(int32_t id, int32_t type, const std::string& body) {
  std::string packet;
  AppendInt(packet, static_cast<int32_t>(body.size() + 10));
  AppendInt(packet, id);
  AppendInt(packet, type);
  packet += body;
  packet.append(2, '\0');
  return packet;
}

// Out of descriptors or memory: accepting again at once would only spin.
bool ShortOfResources(int error) { return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM; }

}  // namespace

struct RconServer::Connection {
  ~Connection() {
    if (Socket >= 0) ::close(Socket);
  }
  uint64_t Id = 0;
  // Made on the serving thread, so not listed in the object array (which is the
  // game thread's); nothing holds weak pointers to connections.
  std::unique_ptr<SimRconConnection> Object;

  // The serving thread's alone.
  int Socket = -1;
  std::string Incoming;
  int FailedLogins = 0;
  SteadyClock::time_point Opened = SteadyClock::now();
  SteadyClock::time_point LastHeard = Opened;

  // Written by the serving thread, read by anyone.
  std::atomic<bool> Authenticated{false};

  // Shared with the game thread, under OutMutex.
  std::mutex OutMutex;
  std::string Outgoing;
  bool CloseWhenSent = false;
  // Set by either side; the serving thread closes the socket.
  std::atomic<bool> Dropped{false};
};

RconServer::RconServer(GameServer& server, uint16_t port, std::string password, RconLimits limits)
    : server_(server), password_(std::move(password)), limits_(limits) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener_ < 0) throw std::runtime_error("rcon: no socket");
  int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener_, 128) != 0) {
    ::close(listener_);
    throw std::runtime_error("rcon: cannot listen on port " + std::to_string(port));
  }
  socklen_t length = sizeof(address);
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_ < 0) {
    ::close(listener_);
    throw std::runtime_error("rcon: no eventfd");
  }
  thread_ = std::thread(&RconServer::Serve, this);
}

RconServer::~RconServer() {
  stop_ = true;
  Wake();
  if (thread_.joinable()) thread_.join();
  std::map<uint64_t, std::shared_ptr<Connection>> connections;
  {
    std::lock_guard lock(connectionsMutex_);
    connections.swap(connections_);
  }
  for (auto& [id, connection] : connections) {
    connection->Dropped = true;
    ::close(connection->Socket);
    connection->Socket = -1;
  }
  ::close(listener_);
  ::close(wake_);
}

std::size_t RconServer::ConnectionCount() const {
  std::lock_guard lock(connectionsMutex_);
  return connections_.size();
}

std::size_t RconServer::NotLoggedInCount() const {
  std::lock_guard lock(connectionsMutex_);
  std::size_t count = 0;
  for (const auto& [id, connection] : connections_) count += connection->Authenticated ? 0 : 1;
  return count;
}

void RconServer::Wake() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof(one));
}

void RconServer::Serve() {
  std::vector<pollfd> waiting;
  std::vector<std::shared_ptr<Connection>> polled;
  while (!stop_) {
    waiting.clear();
    polled.clear();
    waiting.push_back({wake_, POLLIN, 0});
    const bool accepting = SteadyClock::now() >= acceptPausedUntil_;
    if (accepting) waiting.push_back({listener_, POLLIN, 0});
    {
      std::lock_guard lock(connectionsMutex_);
      for (auto& [id, connection] : connections_) {
        short events = POLLIN;
        {
          std::lock_guard out(connection->OutMutex);
          if (!connection->Outgoing.empty()) events |= POLLOUT;
        }
        waiting.push_back({connection->Socket, events, 0});
        polled.push_back(connection);
      }
    }
    if (::poll(waiting.data(), waiting.size(), kPollMs) < 0 && errno != EINTR) break;
    if (waiting[0].revents & POLLIN) {
      uint64_t count;
      [[maybe_unused]] const ssize_t got = ::read(wake_, &count, sizeof(count));
    }
    const std::size_t first = accepting ? 2 : 1;
    if (accepting && (waiting[1].revents & POLLIN)) Accept();
    for (std::size_t i = 0; i < polled.size(); ++i) {
      const short revents = waiting[first + i].revents;
      if (revents & (POLLIN | POLLHUP | POLLERR)) ReadFrom(polled[i]);
      if (revents & POLLOUT) WriteTo(*polled[i]);
    }
    // Closes what was dropped, what has said its last word, what went quiet and
    // what did not log in in time.
    const auto now = SteadyClock::now();
    for (const auto& connection : polled) {
      bool done = connection->Dropped.load() || now - connection->LastHeard > limits_.IdleTimeout ||
                  (!connection->Authenticated && now - connection->Opened > limits_.LoginTimeout);
      if (!done) {
        std::lock_guard out(connection->OutMutex);
        done = connection->CloseWhenSent && connection->Outgoing.empty();
      }
      if (done) Close(connection->Id);
    }
  }
}

namespace {

std::string PeerText(const sockaddr_in& peer) {
  char address[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &peer.sin_addr, address, sizeof(address));
  return std::string(address) + ":" + std::to_string(ntohs(peer.sin_port));
}

}  // namespace

void RconServer::Accept() {
  for (;;) {
    sockaddr_in peer{};
    socklen_t peerSize = sizeof(peer);
    const int socket =
        ::accept4(listener_, reinterpret_cast<sockaddr*>(&peer), &peerSize, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (socket < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (ShortOfResources(errno)) acceptPausedUntil_ = SteadyClock::now() + std::chrono::milliseconds(kPollMs);
      return;
    }
    // A full server makes room by letting the stranger who waited longest go, so
    // that an admin is never locked out by connections that never log in.
    const bool full = ConnectionCount() >= limits_.MaxConnections || NotLoggedInCount() >= limits_.MaxNotLoggedIn;
    if (full && !EvictLongestWaitingStranger()) {
      const std::string refusal = Packet(0, ResponseValue, BusyText);
      [[maybe_unused]] const ssize_t sent = ::send(socket, refusal.data(), refusal.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      ::close(socket);
      continue;
    }
    auto connection = std::make_shared<Connection>();
    connection->Socket = socket;
    connection->Object = std::make_unique<SimRconConnection>();
    std::lock_guard lock(connectionsMutex_);
    connection->Id = nextId_++;
    connection->Object->ConnectionId = connection->Id;
    connection->Object->IP = FString::FromUtf8(PeerText(peer));
    connections_[connection->Id] = std::move(connection);
  }
}

void RconServer::ReadFrom(const std::shared_ptr<Connection>& connection) {
  char chunk[8192];
  for (;;) {
    const ssize_t got = ::recv(connection->Socket, chunk, sizeof(chunk), 0);
    if (got > 0) {
      connection->Incoming.append(chunk, static_cast<std::size_t>(got));
      if (connection->Incoming.size() > 4 * static_cast<std::size_t>(kMaxPacketSize)) break;  // parse before more
      continue;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    if (got < 0 && errno == EINTR) continue;
    connection->Dropped = true;  // the client left, or the connection broke
    return;
  }
  std::string& in = connection->Incoming;
  std::size_t at = 0;
  while (in.size() - at >= 4 && !connection->Dropped) {
    const int32_t size = ReadInt(in.data() + at);
    if (size < kMinPacketSize || size > kMaxPacketSize) {  // a broken or hostile client
      connection->Dropped = true;
      return;
    }
    if (in.size() - at < 4 + static_cast<std::size_t>(size)) break;
    const char* packet = in.data() + at + 4;
    std::string body(packet + 8, static_cast<std::size_t>(size) - 8);
    body = body.substr(0, body.find('\0'));
    at += 4 + static_cast<std::size_t>(size);
    connection->LastHeard = SteadyClock::now();
    HandlePacket(connection, ReadInt(packet), ReadInt(packet + 4), std::move(body));
  }
  in.erase(0, at);
}

void RconServer::WriteTo(Connection& connection) {
  std::lock_guard out(connection.OutMutex);
  std::size_t sent = 0;
  while (sent < connection.Outgoing.size()) {
    const ssize_t n = ::send(connection.Socket, connection.Outgoing.data() + sent, connection.Outgoing.size() - sent,
                             MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    connection.Dropped = true;
    break;
  }
  connection.Outgoing.erase(0, sent);
}

void RconServer::HandlePacket(const std::shared_ptr<Connection>& connection, int32_t packetId, int32_t type,
                              std::string body) {
  {
    std::lock_guard out(connection->OutMutex);
    if (connection->CloseWhenSent) return;  // nothing more is read from a connection on its way out
  }
  if (type == Auth) {
    // As the game's server does: one auth response, no empty packet before it.
    connection->Authenticated = body == password_;
    if (!connection->Authenticated) ++connection->FailedLogins;
    Queue(*connection, connection->Authenticated ? packetId : -1, AuthResponse, "");
    if (connection->FailedLogins >= limits_.MaxFailedLogins) {
      std::lock_guard out(connection->OutMutex);
      connection->CloseWhenSent = true;
    }
    return;
  }
  if (!connection->Authenticated) return;
  GameServer* server = &server_;
  const uint64_t id = connection->Id;
  if (type == ExecCommand) {
    server->PostToGameThread([this, server, connection, id, packetId, body = std::move(body)] {
      if (connection->Dropped) return;
      RCONPacket packet{static_cast<int32_t>(body.size() + 10), packetId, ExecCommand, FString::FromUtf8(body)};
      auto* rcon = reinterpret_cast<RCONClientConnection*>(connection->Object.get());
      if (!host::CommandRegistry::Get().DispatchRcon(rcon, &packet, reinterpret_cast<UWorld*>(server->World())))
        Send(id, packetId, ResponseValue, "Server received, But no response!! \n");
    });
  } else if (type == ResponseValue) {
    // Clients send an empty response packet after a command to find the end of a
    // multi-packet reply: mirror it once every earlier request was answered.
    server->PostToGameThread([this, id, packetId] { Send(id, packetId, ResponseValue, ""); });
  }
}

bool RconServer::Queue(Connection& connection, int32_t id, int32_t type, const std::string& body) {
  std::string packets;
  if (body.empty()) packets = Packet(id, type, body);
  for (std::size_t offset = 0; offset < body.size(); offset += kMaxBodyPerPacket)
    packets += Packet(id, type, body.substr(offset, kMaxBodyPerPacket));
  std::lock_guard out(connection.OutMutex);
  if (connection.Dropped) return false;
  if (connection.Outgoing.size() + packets.size() > limits_.MaxQueuedBytes) {
    connection.Dropped = true;  // it does not read what it asked for
    connection.Outgoing.clear();
    return false;
  }
  connection.Outgoing += packets;
  return true;
}

void RconServer::Send(uint64_t connectionId, int32_t id, int32_t type, const std::string& body) {
  std::shared_ptr<Connection> connection;
  {
    std::lock_guard lock(connectionsMutex_);
    const auto found = connections_.find(connectionId);
    if (found == connections_.end()) return;
    connection = found->second;
  }
  Queue(*connection, id, type, body);
  Wake();
}

bool RconServer::EvictLongestWaitingStranger() {
  std::shared_ptr<Connection> longest;
  {
    std::lock_guard lock(connectionsMutex_);
    for (const auto& [id, connection] : connections_)
      if (!connection->Authenticated && (longest == nullptr || connection->Opened < longest->Opened))
        longest = connection;
  }
  if (longest == nullptr) return false;
  const std::string refusal = Packet(0, ResponseValue, BusyText);
  [[maybe_unused]] const ssize_t sent =
      ::send(longest->Socket, refusal.data(), refusal.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  Close(longest->Id);
  return true;
}

void RconServer::Close(uint64_t id) {
  std::shared_ptr<Connection> connection;
  {
    std::lock_guard lock(connectionsMutex_);
    const auto found = connections_.find(id);
    if (found == connections_.end()) return;
    connection = std::move(found->second);
    connections_.erase(found);
  }
  connection->Dropped = true;
  ::close(connection->Socket);
  connection->Socket = -1;
}

}  // namespace sim
