#pragma once
// Reports purchases, sales, redeems and trades to Discord webhooks. Called by the
// database writes on their worker thread; nothing waits for the answer.
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "config/ShopConfig.h"
#include "records/DBRecords.h"

namespace DiscordHelper {

// Copies the "DiscordLog" settings (game thread, after every configuration read).
void setConfig(const ConfigHelper::ConfigDiscordLog& config);
// The settings as they were when this call was made.
ConfigHelper::ConfigDiscordLog Settings();

// The bodies, as JSON documents.
nlohmann::json BuyBody(const DBHelper::ShopLogRecord& record);
nlohmann::json SellBody(const DBHelper::ShopLogRecord& record);
nlohmann::json RedeemBody(const DBHelper::ShopLogRecord& record);
nlohmann::json TradeBody(const DBHelper::TradeLogRecord& record);
// Compact, keys sorted, invalid UTF-8 replaced.
std::string Serialise(const nlohmann::json& body);

void sendDiscordMessage(const std::string& body, const std::string& webhook);

// Each sends its message when its kind is enabled and has a webhook; failures are logged, never thrown.
void sendBuy(const DBHelper::ShopLogRecord& record);
void sendSell(const DBHelper::ShopLogRecord& record);
void sendRedeem(const DBHelper::ShopLogRecord& record);
void sendTrade(const DBHelper::TradeLogRecord& record);

}  // namespace DiscordHelper
