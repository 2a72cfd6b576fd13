#include "sim/assembly/Server.h"

#include "sim/companions/Companions.h"
#include "sim/page/ShopPage.h"

namespace sim {

Server::Server(ServerOptions options) : GameServer(std::move(options)) {
  companions_ = std::make_unique<Companions>(*this, Options());
  if (Options().ShopPage) page_ = std::make_unique<ShopPage>(*this, companions_->Mod(), Options().PagePort);
}

// The plugin goes first (it may still tell the mod or the services), then the
// page, then what the server was handed.
Server::~Server() {
  Stop();
  page_.reset();
  companions_.reset();
}

ClientMod& Server::Mod() { return companions_->Mod(); }
VersionService& Server::Version() { return companions_->Version(); }
DiscordReceiver& Server::Discord() { return companions_->Discord(); }
uint16_t Server::PagePort() const { return page_ == nullptr ? 0 : page_->Port(); }

}  // namespace sim
