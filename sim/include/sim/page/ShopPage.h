#pragma once
// The shop in a browser: a page on 127.0.0.1 that shows a chosen online player
// what the client mod would show (from what the mod stand-in received, never
// from the plugin) beside the player's inventory and cryopods, and whose buttons
// send the mod's requests as the mod does. The HTTP threads never touch the
// world: every read and every request runs on the game thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

namespace sim {

class GameServer;
class ClientMod;
class LoopbackHttpServer;

// What the page reads from and sends into the game (game thread only).
namespace shoppage {
// {"players": [{"EosId", "Name", "Tribe", "Level"}]}: the players online.
nlohmann::json PlayersOnline(GameServer& server);
// The mod's view of the player (sim/ShopView.h) with "player", "inventory" and
// "cryopods" added; null when the player is not online.
nlohmann::json PageOf(GameServer& server, ClientMod& mod, const std::string& eosId);
// Sends one of the mod's requests, named by its action ("open", "category", "buy",
// "selllist", "sell", "redeemlist", "redeem", "tradetargets", "trade",
// "shoplog", "tradelog"). Returns an error text, empty when sent.
std::string Send(GameServer& server, ClientMod& mod, const std::string& eosId, const std::string& action,
                 int32_t intParam1, int32_t intParam2, const std::string& text);
}  // namespace shoppage

class ShopPage {
 public:
  // The page of server, showing what mod received; port 0: any free port.
  ShopPage(GameServer& server, ClientMod& mod, uint16_t port);
  ~ShopPage();
  ShopPage(const ShopPage&) = delete;
  ShopPage& operator=(const ShopPage&) = delete;

  uint16_t Port() const;

 private:
  // Runs work on the game thread and waits for its result (at most a few seconds).
  nlohmann::json OnGameThread(std::function<nlohmann::json()> work);
  void Route();

  GameServer& server_;
  ClientMod& mod_;
  std::atomic<bool> stopping_{false};
  std::unique_ptr<LoopbackHttpServer> http_;
};

}  // namespace sim
