#pragma once
// What the client mod would show one player, built only from what the mod has
// received (its events) and what it asked for (its requests): settings, points,
// categories and their packets with prices and cooldowns, held packets, items to
// sell, trade targets and both logs. Plain data in, JSON out.
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/companions/ClientMod.h"

namespace sim {

struct ShopViewInput {
  std::vector<nlohmann::json> Events;        // the player's, {"event", "data"}, in order
  std::vector<SentRequest> Requests;         // the player's, in order
  std::vector<nlohmann::json> GlobalEvents;  // the global actor's
  int64_t NowUnix = 0;                       // for cooldowns
  double GameTime = 0;                       // for packets not yet available
};

// The price of units of a packet with the chosen variants' increases, as the mod
// shows it: the discount applied to the whole and rounded to the nearest point.
int64_t DiscountedPrice(int64_t unitPrice, int32_t amount, double discount);

// The stored text of a held packet without its amount: "Name" and the selection
// (";items;dinos;commands" by name, empty for a reward or the whole packet).
struct HeldKey {
  std::string Name;
  std::string Selection;
};
HeldKey HeldKeyOf(const nlohmann::json& redeemView);
// The same from a redeem request's text ("Name,amount;..." or "Name,amount").
HeldKey HeldKeyOfRequest(const std::string& text);

// Keys of the result: "settings" (null before the global settings arrived),
// "opened", "points" (null before the shop was opened), "passivePoints",
// "categories", "packets" (by category id, only for categories asked for),
// "held", "sell", "tradeTargets", "shopLog", "tradeLog" (null while never asked for).
nlohmann::json BuildShopView(const ShopViewInput& input);

}  // namespace sim
