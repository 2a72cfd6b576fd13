#pragma once
// A TCP proxy between a MySQL client and the server that misbehaves on command:
// it drops a connection after forwarding a COMMIT and before the answer gets
// back, stalls, cuts every connection, or delays each packet. Clients connect to
// 127.0.0.1:Port() instead of the server; the link forwards everything else as
// it is. It reads the client's packet framing (no TLS, no compression) to find
// the COMMITs.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace sim::faultylink {

class FaultyLink {
 public:
  // Listens on a free port of 127.0.0.1 and forwards every connection to the upstream server.
  FaultyLink(std::string upstreamHost, uint16_t upstreamPort);
  ~FaultyLink();
  FaultyLink(const FaultyLink&) = delete;
  FaultyLink& operator=(const FaultyLink&) = delete;

  static constexpr const char* Host() { return "127.0.0.1"; }
  uint16_t Port() const;

  // The next COMMIT any client sends (a query whose last statement is COMMIT) is
  // forwarded; the server's answer is swallowed and, once it came (the server
  // committed or refused), both sides of that connection are closed. The client
  // sees the connection lost while it waits for the answer.
  void DropAfterNextCommit();
  // Every COMMIT is dropped like that with this chance (0 to 1), drawn from a
  // generator seeded with seed; 0 turns it off.
  void DropCommitsAtRandom(double chance, uint32_t seed = 1);
  // Closes every open connection, both sides, now; new ones are still accepted.
  void CutAll();
  // Forwards nothing in either direction for this long (connections stay open,
  // new ones are accepted and wait); Resume ends it early.
  void Stall(std::chrono::milliseconds duration);
  void Resume();
  // Holds each piece of data this long before passing it on, each way; 0 for none.
  void SetDelay(std::chrono::microseconds delay);

  uint64_t CommitsSeen() const;     // COMMITs forwarded, dropped or not
  uint64_t CommitsDropped() const;  // of them, answers swallowed
  uint64_t ConnectionsAccepted() const;
  uint64_t OpenConnections() const;

 private:
  class Loop;
  std::unique_ptr<Loop> loop_;
};

}  // namespace sim::faultylink
