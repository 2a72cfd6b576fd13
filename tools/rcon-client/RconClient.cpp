#include "rcon/RconClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace rcon {

RconClient::RconClient(const std::string& host, uint16_t port) {
  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  ::inet_pton(AF_INET, host.c_str(), &address.sin_addr);
  if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    ::close(socket_);
    throw std::runtime_error("rcon client: cannot connect");
  }
}

RconClient::~RconClient() { ::close(socket_); }

std::string EncodePacket(int32_t id, int32_t type, const std::string& body) {
  std::string packet(12, '\0');
  const int32_t size = static_cast<int32_t>(body.size() + 10);
  std::memcpy(packet.data(), &size, 4);
  std::memcpy(packet.data() + 4, &id, 4);
  std::memcpy(packet.data() + 8, &type, 4);
  packet += body;
  packet.append(2, '\0');
  return packet;
}

void RconClient::Write(int32_t id, int32_t type, const std::string& body) {
  const std::string packet = EncodePacket(id, type, body);
  ::send(socket_, packet.data(), packet.size(), MSG_NOSIGNAL);
}

std::optional<RconClient::Packet> RconClient::Read(const std::function<void()>& pump,
                                                   std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    if (buffer_.size() >= 4) {
      int32_t size;
      std::memcpy(&size, buffer_.data(), 4);
      if (buffer_.size() >= static_cast<std::size_t>(size) + 4) {
        Packet packet;
        std::memcpy(&packet.Id, buffer_.data() + 4, 4);
        std::memcpy(&packet.Type, buffer_.data() + 8, 4);
        packet.Body = buffer_.substr(12, static_cast<std::size_t>(size) - 10);
        buffer_.erase(0, static_cast<std::size_t>(size) + 4);
        return packet;
      }
    }
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    if (pump) pump();
    pollfd waiting{socket_, POLLIN, 0};
    if (::poll(&waiting, 1, pump ? 5 : 100) <= 0) continue;
    char chunk[8192];
    const ssize_t got = ::recv(socket_, chunk, sizeof(chunk), 0);
    if (got <= 0) return std::nullopt;
    buffer_.append(chunk, static_cast<std::size_t>(got));
  }
}

bool RconClient::Authenticate(const std::string& password, const std::function<void()>& pump) {
  const int32_t id = nextId_++;
  Write(id, 3, password);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (auto packet = Read(pump, deadline)) {
    if (packet->Type == 2) return packet->Id == id;
  }
  return false;
}

std::optional<std::string> RconClient::Execute(const std::string& command, const std::function<void()>& pump,
                                               std::chrono::milliseconds timeout) {
  const int32_t id = nextId_++;
  const int32_t marker = nextId_++;
  Write(id, 2, command);
  Write(marker, 0, "");  // mirrored by the server after the reply
  std::string reply;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (auto packet = Read(pump, deadline)) {
    if (packet->Id == marker) return reply;
    if (packet->Id == id) reply += packet->Body;
  }
  return std::nullopt;
}

}  // namespace rcon
