#pragma once
// A simulated server with the plugin linked in, and a day of players: they join
// and leave on a daily curve (100 online at the peak), open the shop, browse
// categories, read their logs, send the other requests of the mod, and earn the
// passive reward.
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "StateReport.h"
#include "sim/assembly/Server.h"

namespace membench {

class PlayerDay {
 public:
  PlayerDay();
  ~PlayerDay();

  // Runs hours of the day from where it stands; report is called at the end of every hour.
  void RunHours(int hours, const std::function<void(int hour)>& report);
  // Everybody leaves and the database work and the send queues run out.
  void EveryoneLeaves();
  // New players, waves of a hundred, each sending every kind of request once,
  // until count distinct players have been seen.
  void NewPlayersUntil(std::size_t count);

  std::size_t Online() const { return online_.size(); }
  std::size_t PeakOnline() const { return peak_; }
  std::size_t Sessions() const { return sessions_; }
  std::size_t DistinctPlayers() const { return distinct_; }
  // The state when the most players were online.
  const StateReport& AtPeak() const { return atPeak_; }

 private:
  struct Session {
    std::string EosId;
    int64_t Ends = 0;
    int64_t NextRequest = 0;
  };

  void Second();
  void Arrive();
  void Leave(std::size_t index);
  void Request(Session& session);
  std::size_t TargetOnline() const;
  // Ticks until the worker pool is idle (the database keeps up with the day).
  void Settle();
  void Join(const std::string& eosId);

  std::string dir_;
  std::unique_ptr<sim::Server> server_;
  std::string prefix_;
  std::mt19937_64 random_{20261207};
  int64_t second_ = 0;  // of the day
  std::vector<Session> online_;
  std::vector<std::string> offline_;  // players seen before, not online now
  std::size_t sessions_ = 0, distinct_ = 0, peak_ = 0;
  StateReport atPeak_;
};

}  // namespace membench
