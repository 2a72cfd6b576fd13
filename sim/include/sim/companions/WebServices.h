#pragma once
// The web services a shop server talks to, as real HTTP servers on the loopback
// interface: the mod's version service and a Discord webhook receiver.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// The version service's published host name; the server routes it to the stand-in.
inline constexpr const char* VersionServiceHost = "modversion.tandorshop.dev";
// Webhook addresses on this host name reach the Discord receiver.
inline constexpr const char* DiscordHost = "discord.test";

class LoopbackHttpServer;

class VersionService {
 public:
  VersionService();
  ~VersionService();
  // "127.0.0.1:port"
  std::string Address() const;
  // The answer to every request from now on.
  void SetAnswer(int status, std::string body);
  void SetVersions(double version, double minVersion);
  std::size_t RequestCount() const;

 private:
  mutable std::mutex mutex_;
  int status_ = 200;
  std::string body_;
  std::size_t requests_ = 0;
  std::unique_ptr<LoopbackHttpServer> http_;
};

struct ReceivedWebhook {
  std::string Path;
  std::string ContentType;
  std::string Body;
};

class DiscordReceiver {
 public:
  explicit DiscordReceiver(uint16_t port = 0);
  ~DiscordReceiver();
  std::string Address() const;
  std::vector<ReceivedWebhook> Received() const;
  // Waits up to timeoutMs for at least count bodies.
  bool WaitFor(std::size_t count, int timeoutMs = 5000) const;

 private:
  mutable std::mutex mutex_;
  std::vector<ReceivedWebhook> received_;
  std::unique_ptr<LoopbackHttpServer> http_;
};

}  // namespace sim
