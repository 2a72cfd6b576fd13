#include "sim/companions/Companions.h"

#include <dlfcn.h>

#include <stdexcept>

#include "sim/server/GameServer.h"

namespace sim {
namespace {

bool AskServer(void* server, const FString& eosId, const FString& group) {
  return static_cast<GameServer*>(server)->IsPlayerInGroup(eosId.ToUtf8(), group.ToUtf8());
}

// Loads the Permissions plugin into the process's global symbols, as the
// framework loads plugins, and lets it ask this server.
std::shared_ptr<void> LoadPermissions(GameServer& server) {
  void* handle = ::dlopen(TANDORSHOP_PERMISSIONS_PATH, RTLD_NOW | RTLD_GLOBAL);
  if (handle == nullptr) throw std::runtime_error(std::string("cannot load Permissions: ") + ::dlerror());
  using SetOracle = void (*)(bool (*)(void*, const FString&, const FString&), void*);
  auto set = reinterpret_cast<SetOracle>(::dlsym(handle, "TandorShopSim_SetGroupOracle"));
  if (set != nullptr) set(&AskServer, &server);
  return std::shared_ptr<void>(handle, [set](void* h) {
    if (set != nullptr) set(nullptr, nullptr);
    ::dlclose(h);
  });
}

}  // namespace

Companions::Companions(GameServer& server, const ServerOptions& options)
    : server_(server),
      mod_(std::make_unique<ClientMod>(server.Extras())),
      version_(std::make_unique<VersionService>()),
      discord_(std::make_unique<DiscordReceiver>(options.DiscordPort)) {
  RegisterClientModFields();
  server.SetModContent(mod_.get());
  server.RouteHost(VersionServiceHost, version_->Address());
  server.RouteHost(DiscordHost, discord_->Address());
  if (options.PermissionsPlugin) permissions_ = LoadPermissions(server);
}

Companions::~Companions() {
  permissions_.reset();
  server_.SetModContent(nullptr);
}

}  // namespace sim
