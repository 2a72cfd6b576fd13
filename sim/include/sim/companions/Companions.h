#pragma once
// What surrounds a shop server besides its world: the client mod, the
// Permissions plugin, the version service and a Discord receiver. Made for one
// server and handed to it (the mod as its ModContent, the services as the hosts
// its HTTP requests reach, the Permissions plugin asking it for groups).
#include <memory>
#include <string>

#include "sim/companions/ClientMod.h"
#include "sim/companions/WebServices.h"

namespace sim {

class GameServer;
struct ServerOptions;

class Companions {
 public:
  Companions(GameServer& server, const ServerOptions& options);
  // Takes the mod back from the server.
  ~Companions();
  Companions(const Companions&) = delete;
  Companions& operator=(const Companions&) = delete;

  ClientMod& Mod() { return *mod_; }
  VersionService& Version() { return *version_; }
  DiscordReceiver& Discord() { return *discord_; }
  bool PermissionsLoaded() const { return permissions_ != nullptr; }

 private:
  GameServer& server_;
  std::unique_ptr<ClientMod> mod_;
  std::unique_ptr<VersionService> version_;
  std::unique_ptr<DiscordReceiver> discord_;
  std::shared_ptr<void> permissions_;
};

}  // namespace sim
