#pragma once
// A simulated shop server as tests, scenarios and the executable start it: the
// game server (sim/GameServer.h) with what surrounds it (the client mod, the
// version service, the Discord receiver, the Permissions plugin; sim/Companions.h)
// and, when the options ask, the shop page (sim/ShopPage.h), all made here and
// handed to it.
#include <cstdint>
#include <memory>

#include "sim/server/GameServer.h"

namespace sim {

class Companions;
class ClientMod;
class VersionService;
class DiscordReceiver;
class ShopPage;

class Server : public GameServer {
 public:
  explicit Server(ServerOptions options);
  ~Server() override;

  ClientMod& Mod();
  VersionService& Version();
  DiscordReceiver& Discord();
  // Where the shop page listens; 0 when the server has none.
  uint16_t PagePort() const;

 private:
  std::unique_ptr<Companions> companions_;
  std::unique_ptr<ShopPage> page_;
};

}  // namespace sim
