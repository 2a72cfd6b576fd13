#pragma once
// The Source RCON protocol over TCP on the loopback interface.
//
// One thread serves every connection (accepting, reading, writing); the game
// thread only runs the commands and hands their replies to a connection's
// outgoing queue, so a client that does not read can never hold the game loop.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "sim/world/World.h"

namespace sim {

class GameServer;

// What one client may hold of the server. Connections that have not logged in
// get fewer places than there are, so strangers who connect and wait always
// leave room for an admin, and only a few seconds to log in.
struct RconLimits {
  std::size_t MaxConnections = 16;       // more are told so and closed
  std::size_t MaxNotLoggedIn = 12;       // connections not logged in beyond this are told so and closed
  std::chrono::milliseconds LoginTimeout = std::chrono::seconds(10);  // not logged in so long after connecting: closed
  std::chrono::milliseconds IdleTimeout = std::chrono::minutes(5);  // no packet for so long: closed
  int MaxFailedLogins = 3;               // wrong passwords on one connection before it is closed
  std::size_t MaxQueuedBytes = 1 << 20;  // replies waiting for a client that does not read: dropped beyond
};

class RconServer {
 public:
  static constexpr int32_t ResponseValue = 0;
  static constexpr int32_t ExecCommand = 2;
  static constexpr int32_t AuthResponse = 2;
  static constexpr int32_t Auth = 3;
  // Told to a client that connects while every place is taken.
  static constexpr const char* BusyText = "Too many RCON connections, try again later.";

  RconServer(GameServer& server, uint16_t port, std::string password, RconLimits limits = {});
  ~RconServer();
  RconServer(const RconServer&) = delete;
  RconServer& operator=(const RconServer&) = delete;

  uint16_t Port() const { return port_; }
  // Queues body as one or more response packets (4096 bytes of body at most
  // each); never waits. A connection whose queue would grow past the limit is
  // closed instead.
  void Send(uint64_t connectionId, int32_t id, int32_t type, const std::string& body);
  // Connections open now.
  std::size_t ConnectionCount() const;
  // Of those, the ones not logged in.
  std::size_t NotLoggedInCount() const;

 private:
  struct Connection;

  void Serve();
  void Accept();
  void ReadFrom(const std::shared_ptr<Connection>& connection);
  void WriteTo(Connection& connection);
  void HandlePacket(const std::shared_ptr<Connection>& connection, int32_t packetId, int32_t type, std::string body);
  // Appends packets to the queue; false when the queue limit was passed.
  bool Queue(Connection& connection, int32_t id, int32_t type, const std::string& body);
  void Wake();
  void Close(uint64_t id);
  // Makes room for a newcomer: the connection not logged in that has waited
  // longest is told the server is busy and closed. False when every one is logged in.
  bool EvictLongestWaitingStranger();

  GameServer& server_;
  std::string password_;
  RconLimits limits_;
  int listener_ = -1;
  int wake_ = -1;  // an eventfd: something was queued or the server stops
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::chrono::steady_clock::time_point acceptPausedUntil_{};
  mutable std::mutex connectionsMutex_;
  std::map<uint64_t, std::shared_ptr<Connection>> connections_;
  uint64_t nextId_ = 1;
  std::thread thread_;
};

}  // namespace sim
