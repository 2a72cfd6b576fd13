#include "RconServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

#include "AsaApi/Game/RCON.h"
#include "AsaApi/Host.h"
#include "sim/server/Server.h"

namespace sim {
namespace {

bool ReadExact(int socket, char* out, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::recv(socket, out + done, size - done, 0);
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

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

}  // namespace

RconServer::RconServer(Server& server, uint16_t port, std::string password)
    : server_(server), password_(std::move(password)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ < 0) throw std::runtime_error("rcon: no socket");
  int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(listener_, 16) != 0) {
    ::close(listener_);
    throw std::runtime_error("rcon: cannot listen on port " + std::to_string(port));
  }
  socklen_t length = sizeof(address);
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread(&RconServer::AcceptLoop, this);
}

RconServer::~RconServer() {
  stop_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  ::close(listener_);
  std::map<uint64_t, std::shared_ptr<Connection>> connections;
  {
    std::lock_guard lock(connectionsMutex_);
    connections.swap(connections_);
  }
  for (auto& [id, connection] : connections) ::shutdown(connection->Socket, SHUT_RDWR);
  for (auto& [id, connection] : connections) {
    if (connection->Reader.joinable()) connection->Reader.join();
  }
}

RconServer::Connection::~Connection() {
  if (Socket >= 0) ::close(Socket);
}

void RconServer::ReapFinished() {
  std::vector<std::shared_ptr<Connection>> finished;
  {
    std::lock_guard lock(connectionsMutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
      if (it->second->Finished.load()) {
        finished.push_back(it->second);
        it = connections_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& connection : finished) connection->Reader.join();
}

void RconServer::AcceptLoop() {
  while (!stop_) {
    ReapFinished();
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 100) <= 0) continue;
    const int socket = ::accept(listener_, nullptr, nullptr);
    if (socket < 0) continue;
    auto connection = std::make_shared<Connection>();
    connection->Socket = socket;
    connection->Object = std::make_unique<SimRconConnection>();
    std::lock_guard lock(connectionsMutex_);
    const uint64_t id = nextId_++;
    connection->Object->ConnectionId = id;
    connections_[id] = connection;
    connection->Reader = std::thread(&RconServer::ReadLoop, this, id, connection);
  }
}

void RconServer::ReadLoop(uint64_t id, std::shared_ptr<Connection> connection) {
  for (;;) {
    char header[4];
    if (!ReadExact(connection->Socket, header, 4)) break;
    const int32_t size = ReadInt(header);
    if (size < 10 || size > 4096 + 10) break;  // a broken or hostile client
    std::string packet(static_cast<std::size_t>(size), '\0');
    if (!ReadExact(connection->Socket, packet.data(), packet.size())) break;
    const int32_t packetId = ReadInt(packet.data());
    const int32_t type = ReadInt(packet.data() + 4);
    std::string body = packet.substr(8);
    body = body.substr(0, body.find('\0'));
    HandlePacket(id, connection, packetId, type, std::move(body));
  }
  ::shutdown(connection->Socket, SHUT_RDWR);
  connection->Finished = true;
}

void RconServer::HandlePacket(uint64_t id, const std::shared_ptr<Connection>& connection, int32_t packetId,
                              int32_t type, std::string body) {
  if (type == Auth) {
    // As the game's server does: one auth response, no empty packet before it.
    connection->Authenticated = body == password_;
    WritePacket(*connection, connection->Authenticated ? packetId : -1, AuthResponse, "");
    return;
  }
  if (!connection->Authenticated) return;
  Server* server = &server_;
  if (type == ExecCommand) {
    server->PostToGameThread([this, server, connection, packetId, body = std::move(body)] {
      RCONPacket packet{static_cast<int32_t>(body.size() + 10), packetId, ExecCommand, FString::FromUtf8(body)};
      auto* rcon = reinterpret_cast<RCONClientConnection*>(connection->Object.get());
      if (!host::CommandRegistry::Get().DispatchRcon(rcon, &packet, reinterpret_cast<UWorld*>(server->World()))) {
        WritePacket(*connection, packetId, ResponseValue, "Server received, But no response!! \n");
      }
    });
  } else if (type == ResponseValue) {
    // Clients send an empty response packet after a command to find the end of a
    // multi-packet reply: mirror it once every earlier request was answered.
    server->PostToGameThread([this, connection, packetId] { WritePacket(*connection, packetId, ResponseValue, ""); });
  }
  (void)id;
}

void RconServer::Send(uint64_t connectionId, int32_t id, int32_t type, const std::string& body) {
  std::shared_ptr<Connection> connection;
  {
    std::lock_guard lock(connectionsMutex_);
    auto it = connections_.find(connectionId);
    if (it == connections_.end()) return;
    connection = it->second;
  }
  constexpr std::size_t chunk = 4096;
  if (body.empty()) WritePacket(*connection, id, type, body);
  for (std::size_t offset = 0; offset < body.size(); offset += chunk) {
    WritePacket(*connection, id, type, body.substr(offset, chunk));
  }
}

void RconServer::WritePacket(Connection& connection, int32_t id, int32_t type, const std::string& body) {
  std::string packet;
  AppendInt(packet, static_cast<int32_t>(body.size() + 10));
  AppendInt(packet, id);
  AppendInt(packet, type);
  packet += body;
  packet.push_back('\0');
  packet.push_back('\0');
  std::lock_guard lock(connection.WriteMutex);
  std::size_t sent = 0;
  while (sent < packet.size()) {
    const ssize_t n = ::send(connection.Socket, packet.data() + sent, packet.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace sim
