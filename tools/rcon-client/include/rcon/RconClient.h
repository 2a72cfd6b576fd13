#pragma once
// A Source RCON client over a real TCP socket, as any admin tool would use.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace rcon {

// One packet as the protocol frames it: size, id, type, the body and two zero bytes.
std::string EncodePacket(int32_t id, int32_t type, const std::string& body);

class RconClient {
 public:
  RconClient(const std::string& host, uint16_t port);
  ~RconClient();
  RconClient(const RconClient&) = delete;
  RconClient& operator=(const RconClient&) = delete;

  // True when the server accepted the password. pump runs while waiting (the
  // simulated server's game loop, when it runs on the waiting thread).
  bool Authenticate(const std::string& password, const std::function<void()>& pump = {});
  // Sends command and collects the reply packets up to the end marker.
  std::optional<std::string> Execute(const std::string& command, const std::function<void()>& pump = {},
                                     std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  struct Packet {
    int32_t Id;
    int32_t Type;
    std::string Body;
  };
  void Write(int32_t id, int32_t type, const std::string& body);
  std::optional<Packet> Read(const std::function<void()>& pump, std::chrono::steady_clock::time_point deadline);

  int socket_ = -1;
  int32_t nextId_ = 1;
  std::string buffer_;
};

}  // namespace rcon
