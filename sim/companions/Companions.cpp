#include "sim/companions/Companions.h"

#include <dlfcn.h>

#include <stdexcept>

#include "sim/server/Server.h"
#include "sim/page/ShopPage.h"

namespace sim {
namespace {

bool AskServer(const FString& eosId, const FString& group) {
  Server* server = Server::Current();
  return server != nullptr && server->IsPlayerInGroup(eosId.ToUtf8(), group.ToUtf8());
}

// Loads the Permissions plugin into the process's global symbols, as the
// framework loads plugins, and lets it ask this server.
std::shared_ptr<void> LoadPermissions() {
  void* handle = ::dlopen(TANDORSHOP_PERMISSIONS_PATH, RTLD_NOW | RTLD_GLOBAL);
  if (handle == nullptr) throw std::runtime_error(std::string("cannot load Permissions: ") + ::dlerror());
  using SetOracle = void (*)(bool (*)(const FString&, const FString&));
  auto set = reinterpret_cast<SetOracle>(::dlsym(handle, "TandorShopSim_SetGroupOracle"));
  if (set != nullptr) set(&AskServer);
  return std::shared_ptr<void>(handle, [set](void* h) {
    if (set != nullptr) set(nullptr);
    ::dlclose(h);
  });
}

}  // namespace

Companions::Companions(Server& server, const ServerOptions& options)
    : extras_(std::make_unique<WorldExtras>(options.SessionName)),
      mod_(std::make_unique<ClientMod>(*extras_)),
      version_(std::make_unique<VersionService>()),
      discord_(std::make_unique<DiscordReceiver>(options.DiscordPort)) {
  server.RouteHost(VersionServiceHost, version_->Address());
  server.RouteHost(DiscordHost, discord_->Address());
  if (options.PermissionsPlugin) permissions_ = LoadPermissions();
  if (options.ShopPage) page_ = std::make_unique<ShopPage>(server, options.PagePort);
}

Companions::~Companions() = default;

void Companions::RegisterGame() {
  RegisterClientModFunctions();
  RegisterWorldExtraFunctions();
}

}  // namespace sim
