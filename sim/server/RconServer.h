#pragma once
// The Source RCON protocol over TCP on the loopback interface.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/world/World.h"

namespace sim {

class Server;

class RconServer {
 public:
  static constexpr int32_t ResponseValue = 0;
  static constexpr int32_t ExecCommand = 2;
  static constexpr int32_t AuthResponse = 2;
  static constexpr int32_t Auth = 3;

  RconServer(Server& server, uint16_t port, std::string password);
  ~RconServer();
  RconServer(const RconServer&) = delete;
  RconServer& operator=(const RconServer&) = delete;

  uint16_t Port() const { return port_; }
  // Sends body as one or more response packets (4096 bytes of body at most each).
  void Send(uint64_t connectionId, int32_t id, int32_t type, const std::string& body);

 private:
  // Lives while the server or a queued reply still needs it; the socket closes
  // with it, so a late reply never writes to a reused descriptor.
  struct Connection {
    ~Connection();
    int Socket = -1;
    std::mutex WriteMutex;
    bool Authenticated = false;
    // Made on the accept thread, so not listed in the object array (which is the
    // game thread's); nothing holds weak pointers to connections.
    std::unique_ptr<SimRconConnection> Object;
    std::thread Reader;
    std::atomic<bool> Finished{false};
  };

  void AcceptLoop();
  // Joins the readers of clients that went away and forgets them.
  void ReapFinished();
  void ReadLoop(uint64_t id, std::shared_ptr<Connection> connection);
  void HandlePacket(uint64_t id, const std::shared_ptr<Connection>& connection, int32_t packetId, int32_t type,
                    std::string body);
  void WritePacket(Connection& connection, int32_t id, int32_t type, const std::string& body);

  Server& server_;
  std::string password_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::mutex connectionsMutex_;
  std::map<uint64_t, std::shared_ptr<Connection>> connections_;
  uint64_t nextId_ = 1;
};

}  // namespace sim
