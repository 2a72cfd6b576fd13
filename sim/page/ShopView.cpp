#include "sim/page/ShopView.h"

#include <algorithm>
#include <map>
#include <optional>

#include "AsaApi/Game/TandorShopMod.h"

namespace sim {
namespace {

using nlohmann::json;

// Where the answer to the player's last request of a kind starts, or none.
std::optional<std::size_t> LastRequest(const ShopViewInput& input, const std::string& message,
                                       std::optional<int32_t> intParam1 = std::nullopt) {
  std::optional<std::size_t> start;
  for (const SentRequest& request : input.Requests)
    if (request.Message == message && (!intParam1 || request.IntParam1 == *intParam1)) start = request.EventsBefore;
  return start;
}

// Every element of the batches of event from index start on; null when never asked for.
json ListSince(const ShopViewInput& input, std::optional<std::size_t> start, const std::string& event) {
  if (!start) return nullptr;
  json list = json::array();
  for (std::size_t i = *start; i < input.Events.size(); ++i)
    if (input.Events[i].value("event", "") == event)
      for (const json& element : input.Events[i]["data"]) list.push_back(element);
  return list;
}

std::map<int32_t, int64_t> CooldownsOf(const json& pairs) {
  std::map<int32_t, int64_t> lastUse;
  if (pairs.is_array())
    for (const json& pair : pairs) lastUse[pair.value("PacketId", -1)] = pair.value("LastUse", 0);
  return lastUse;
}

int64_t SecondsLeft(const std::map<int32_t, int64_t>& lastUse, int32_t packetId, int64_t cooldown, int64_t now) {
  const auto found = lastUse.find(packetId);
  if (cooldown <= 0 || found == lastUse.end()) return 0;
  return std::max<int64_t>(0, found->second + cooldown - now);
}

// The packets of one category, as the last answer to its request listed them.
json PacketsOf(const ShopViewInput& input, const json& open, int32_t categoryId) {
  const json batches = ListSince(input, LastRequest(input, TandorShopMod::MsgCategory, categoryId), "a_cat");
  if (batches.is_null()) return nullptr;
  const auto playerCooldowns = CooldownsOf(open.value("PlayerCooldowns", json()));
  const auto serverCooldowns = CooldownsOf(open.value("ServerCooldowns", json()));
  json packets = json::array();
  for (json packet : batches) {
    if (packet.value("CategoryId", -1) != categoryId) continue;
    const int32_t id = packet.value("Id", -1);
    packet["UnitPrice"] = DiscountedPrice(packet.value("Price", 0), 1, packet.value("Discount", 0.0));
    packet["PlayerCooldownLeft"] = SecondsLeft(playerCooldowns, id, packet.value("PlayerCooldown", 0), input.NowUnix);
    packet["ServerCooldownLeft"] = SecondsLeft(serverCooldowns, id, packet.value("ServerCooldown", 0), input.NowUnix);
    const double earliest = packet.value("EarliestAvailableAtServerTime", 0.0);
    packet["AvailableIn"] = earliest > input.GameTime ? static_cast<int64_t>(earliest - input.GameTime) : 0;
    auto same = std::find_if(packets.begin(), packets.end(), [id](const json& p) { return p.value("Id", -1) == id; });
    if (same != packets.end()) *same = std::move(packet);
    else packets.push_back(std::move(packet));
  }
  return packets;
}

std::string JoinNames(const json& groups) {
  std::string joined;
  if (!groups.is_array()) return joined;
  for (const json& group : groups)
    for (const json& variant : group.value("Variants", json::array())) {
      if (!joined.empty()) joined += ",";
      joined += variant.value("Name", "");
    }
  return joined;
}

// Held packets, with the counts the redeem updates reported since the list came.
json HeldOf(const ShopViewInput& input) {
  const auto start = LastRequest(input, TandorShopMod::MsgRedeemList);
  json held = ListSince(input, start, "a_init_redeem");
  if (held.is_null()) return held;
  for (json& entry : held) {
    const HeldKey key = HeldKeyOf(entry);
    entry["RedeemName"] = key.Name;
    entry["RedeemSelection"] = key.Selection;
  }
  for (std::size_t i = *start; i < input.Events.size(); ++i) {
    if (input.Events[i].value("event", "") != "a_update_redeem") continue;
    const json& update = input.Events[i]["data"];
    std::optional<HeldKey> asked;
    for (const SentRequest& request : input.Requests)
      if (request.Message == TandorShopMod::MsgRedeem && request.EventsBefore <= i)
        asked = HeldKeyOfRequest(request.StringParam1);
    auto matches = [&](const json& entry, bool byKey) {
      if (entry.value("Id", -1) != update.value("PacketId", -2) ||
          entry.value("RewardId", -1) != update.value("RewardId", -2))
        return false;
      return !byKey || (asked && entry["RedeemSelection"] == asked->Selection);
    };
    auto found = std::find_if(held.begin(), held.end(), [&](const json& e) { return matches(e, true); });
    if (found == held.end()) found = std::find_if(held.begin(), held.end(), [&](const json& e) { return matches(e, false); });
    if (found == held.end()) continue;
    if (update.value("RedeemsLeft", 0) > 0) (*found)["Amount"] = update["RedeemsLeft"];
    else held.erase(found);
  }
  return held;
}

}  // namespace

int64_t DiscountedPrice(int64_t unitPrice, int32_t amount, double discount) {
  return static_cast<int64_t>(static_cast<double>(unitPrice) * amount * (1.0 - discount) + 0.5);
}

HeldKey HeldKeyOf(const json& view) {
  HeldKey key{view.value("PacketName", ""), ""};
  if (view.value("RewardId", -1) != -1 || view.value("AllVariants", 0) != 0) return key;
  for (const char* kind : {"Items", "Dinos", "Commands"}) {
    key.Selection += ';';
    key.Selection += JoinNames(view.value(kind, json()));
  }
  return key;
}

HeldKey HeldKeyOfRequest(const std::string& text) {
  const std::size_t semicolon = text.find(';');
  std::string head = text.substr(0, semicolon);
  head = head.substr(0, head.find(','));
  return {head, semicolon == std::string::npos ? "" : text.substr(semicolon)};
}

json BuildShopView(const ShopViewInput& input) {
  json view = {{"settings", nullptr}, {"opened", false}, {"points", nullptr}, {"passivePoints", 0},
               {"categories", json::array()}, {"packets", json::object()}};
  for (const json& event : input.GlobalEvents)
    if (event.value("event", "") == "a_setglobalsettings") view["settings"] = event["data"];

  std::optional<std::size_t> opened;
  for (std::size_t i = 0; i < input.Events.size(); ++i)
    if (input.Events[i].value("event", "") == "a_openshop") opened = i;
  if (opened) {
    const json& open = input.Events[*opened]["data"];
    int64_t points = open.value("Points", int64_t{0});
    for (std::size_t i = *opened + 1; i < input.Events.size(); ++i)
      if (input.Events[i].value("event", "") == "a_updatepoints") points += input.Events[i]["data"].get<int64_t>();
    view["opened"] = true;
    view["points"] = points;
    view["passivePoints"] = open.value("PassivePoints", 0);
    view["categories"] = open.value("Categories", json::array());
    for (const json& category : view["categories"]) {
      const int32_t id = category.value("Id", -1);
      json packets = PacketsOf(input, open, id);
      if (!packets.is_null()) view["packets"][std::to_string(id)] = std::move(packets);
    }
  }
  view["held"] = HeldOf(input);
  view["sell"] = ListSince(input, LastRequest(input, TandorShopMod::MsgSellList), "a_init_sell");
  view["tradeTargets"] = ListSince(input, LastRequest(input, TandorShopMod::MsgTradeTargets), "a_init_trade");
  view["shopLog"] = ListSince(input, LastRequest(input, TandorShopMod::MsgShopLog), "a_init_log_buy");
  view["tradeLog"] = ListSince(input, LastRequest(input, TandorShopMod::MsgTradeLog), "a_init_log_trade");
  return view;
}

}  // namespace sim
