#pragma once
// What a server recorded since the last look: plugin log lines, what the client
// mod stand-in received, chat and console lines, console commands the game ran,
// Discord bodies. A scenario prints it after every step; its fingerprint tells
// when the server has gone quiet.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace sim {
class Server;
}

namespace sim::scenario {

class Happenings {
 public:
  // Everything the server recorded since it started is still to be reported.
  explicit Happenings(Server& server);

  // Reports on this player from now on.
  void Watch(const std::string& eosId);
  // A new server (after a restart): nothing of it seen yet, no player watched.
  void Rebind(Server& server);

  // Transcript lines for what was recorded since the last call; identical lines
  // are shown once with their count.
  std::vector<std::string> Since(bool withLog);
  // Changes whenever anything new is recorded.
  std::size_t Fingerprint() const;

 private:
  struct Seen {
    std::size_t Events = 0, Chat = 0, ConsoleLines = 0;
  };
  Server* server_;
  std::map<std::string, Seen> players_;
  std::size_t log_ = 0, discord_ = 0, commands_ = 0, global_ = 0;
};

// One line for a mod event: its name and the gist of its content.
std::string SummarizeEvent(const std::string& event, const nlohmann::json& data);
// The kind of a Discord body ("buy", "sell", "redeem", "trade"), or empty.
std::string DiscordKind(const std::string& body);

}  // namespace sim::scenario
