#pragma once
// An admin at the RCON console of both servers during the storm: points to
// random players (AddPoints, some with a log text) and held packets
// (ChangeKitAmount), each with what the server replied and when.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace rcon {
class RconClient;
}

namespace storm {

struct Grant {
  int ServerId = 0;
  std::string EosId;
  bool Held = false;  // a held packet (Key) rather than points
  std::string Key;
  int32_t Amount = 0;
  int64_t SentMillis = 0;
  int64_t RepliedMillis = 0;
  bool Accepted = false;  // the server replied that it carried the grant out
  bool Refused = false;   // the server replied that nothing changed (the database was away)
  bool Unknown = false;   // the server replied that it could not learn whether the change was made
  std::string Reply;
};

// The reply of a grant that changed nothing because the database failed.
inline constexpr char GrantRefusedReply[] = "Database unavailable. Nothing changed.";
// The reply of a grant whose commit answer was lost with the database and could not be looked up.
inline constexpr char GrantUnknownReply[] =
    "Database unavailable; whether the change was made is not known. Check the player's points before repeating it.";

struct RconServer {
  int ServerId = 0;
  uint16_t Port = 0;
  int Players = 0;
};

class AdminGrants {
 public:
  AdminGrants(std::vector<RconServer> servers, uint64_t seed, int intervalMillis);
  ~AdminGrants();

  void Start();
  void Stop();
  // No grant goes to the server from the return of Pause until Resume (with its
  // RCON port, which a restarted server chooses anew).
  void Pause(int serverId);
  void Resume(int serverId, uint16_t port);
  // After Stop.
  const std::vector<Grant>& Grants() const { return grants_; }

 private:
  void Run();
  Grant Next();
  void Execute(Grant& grant);

  std::vector<RconServer> servers_;
  std::vector<std::unique_ptr<rcon::RconClient>> clients_;
  std::mt19937_64 random_;
  int intervalMillis_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;  // held while a grant runs; guards servers_, clients_ and paused_
  std::vector<int> paused_;
  std::thread thread_;
  std::vector<Grant> grants_;
};

}  // namespace storm
