#include "notify/DiscordHelper.h"

#include <exception>
#include <functional>
#include <mutex>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Requests.h"
#include "core/Log.h"
#include "core/TextConversion.h"

namespace DiscordHelper {
namespace {

using nlohmann::json;
using DBHelper::ToNarrow;
using DBHelper::ToUtf8;

constexpr int kBuyColour = 1237504;
constexpr int kSellColour = 14811136;
constexpr int kRedeemColour = 14279168;
constexpr int kTradeColour = 14841344;

std::mutex g_settingsMutex;
ConfigHelper::ConfigDiscordLog g_settings;

json Field(const char* name, json value) { return {{"inline", true}, {"name", name}, {"value", std::move(value)}}; }

json Body(json author, std::string title, std::string description, int colour, json fields) {
  json embed = {{"author", {{"name", std::move(author)}}},
                {"title", std::move(title)},
                {"description", std::move(description)},
                {"color", colour},
                {"fields", std::move(fields)}};
  return {{"content", nullptr}, {"attachments", json::array()}, {"embeds", json::array({std::move(embed)})}};
}

json ShopBody(const char* kind, int colour, const DBHelper::ShopLogRecord& r) {
  return Body(fmt::format("New {} ({})", kind, ToUtf8(r.serverName)), ToUtf8(r.playerLabel), ToNarrow(r.eosId), colour,
              json::array({Field("Pack", ToUtf8(r.packet)), Field("Amount", r.amount),
                           Field("Points", r.pointsChange)}));
}

// Builds and sends one message of a kind; nothing escapes.
void SendIf(const ConfigHelper::ConfigDiscordKind& kind, const std::function<json()>& build) noexcept {
  try {
    if (!kind.enabled || kind.webhook.empty()) return;
    sendDiscordMessage(Serialise(build()), kind.webhook);
  } catch (const std::exception& e) {
    TandorShop::Log().warn("Discord message not sent: {}", e.what());
  } catch (...) {
    TandorShop::Log().warn("Discord message not sent: unknown error");
  }
}

}  // namespace

void setConfig(const ConfigHelper::ConfigDiscordLog& config) {
  std::lock_guard lock(g_settingsMutex);
  g_settings = config;
}

ConfigHelper::ConfigDiscordLog Settings() {
  std::lock_guard lock(g_settingsMutex);
  return g_settings;
}

json BuyBody(const DBHelper::ShopLogRecord& record) { return ShopBody("Buy", kBuyColour, record); }
json SellBody(const DBHelper::ShopLogRecord& record) { return ShopBody("Sell", kSellColour, record); }

json RedeemBody(const DBHelper::ShopLogRecord& r) {
  return Body(fmt::format("New Redeem ({})", ToUtf8(r.serverName)), ToUtf8(r.playerLabel), ToNarrow(r.eosId),
              kRedeemColour, json::array({Field("Pack", ToUtf8(r.packet)), Field("Redeem left", r.redeemsLeft)}));
}

json TradeBody(const DBHelper::TradeLogRecord& r) {
  return Body("New Trade", ToUtf8(r.fromName), ToUtf8(r.eosIdFrom), kTradeColour,
              json::array({Field("Reciever", fmt::format("{}\n{}", ToUtf8(r.toName), ToNarrow(r.eosIdTo))),
                           Field("Points", r.amount)}));
}

std::string Serialise(const json& body) { return body.dump(-1, ' ', false, json::error_handler_t::replace); }

void sendDiscordMessage(const std::string& body, const std::string& webhook) {
  API::Requests::Get().CreatePostRequest(
      webhook, [](bool, std::string, std::unordered_map<std::string, std::string>) {}, body, "application/json", {});
}

void sendBuy(const DBHelper::ShopLogRecord& record) {
  SendIf(Settings().Buy, [&] { return BuyBody(record); });
}
void sendSell(const DBHelper::ShopLogRecord& record) {
  SendIf(Settings().Sell, [&] { return SellBody(record); });
}
void sendRedeem(const DBHelper::ShopLogRecord& record) {
  SendIf(Settings().Redeem, [&] { return RedeemBody(record); });
}
void sendTrade(const DBHelper::TradeLogRecord& record) {
  SendIf(Settings().Trade, [&] { return TradeBody(record); });
}

}  // namespace DiscordHelper
