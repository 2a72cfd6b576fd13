#pragma once
// What surrounds a shop server besides its world: the client mod, the
// Permissions plugin, the version service, a Discord receiver and the shop page.
#include <memory>
#include <string>

#include "sim/companions/ClientMod.h"
#include "sim/companions/WebServices.h"
#include "sim/world/WorldExtras.h"

namespace sim {

class Server;
class ShopPage;
struct ServerOptions;

class Companions {
 public:
  Companions(Server& server, const ServerOptions& options);
  ~Companions();

  ClientMod& Mod() { return *mod_; }
  WorldExtras& Extras() { return *extras_; }
  VersionService& Version() { return *version_; }
  DiscordReceiver& Discord() { return *discord_; }
  bool PermissionsLoaded() const { return permissions_ != nullptr; }
  ShopPage* Page() const { return page_.get(); }

  // Registers game functions of the mod and the world pieces (server start-up).
  static void RegisterGame();

 private:
  std::unique_ptr<WorldExtras> extras_;
  std::unique_ptr<ClientMod> mod_;
  std::unique_ptr<VersionService> version_;
  std::unique_ptr<DiscordReceiver> discord_;
  std::shared_ptr<void> permissions_;
  std::unique_ptr<ShopPage> page_;  // stops first
};

}  // namespace sim
