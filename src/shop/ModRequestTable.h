#pragma once
// Which operation answers each of the mod's requests.

namespace TandorShop::ShopRequests {

// Installs the answer to every kind of request on the mod channel (plugin start).
void InstallModRequestHandlers();

}  // namespace TandorShop::ShopRequests
