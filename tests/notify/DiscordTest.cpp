// Discord bodies as the receiver gets them over HTTP for the rows the database wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include <nlohmann/json.hpp>

#include "DbTestSupport.h"
#include "db/DBHelper.h"
#include "notify/DiscordHelper.h"
#include "sim/assembly/Server.h"
#include "sim/companions/WebServices.h"

namespace {

using nlohmann::json;

ModComm::PlayerServerInfo Info() {
  return {FString("EosBuyer"), FString(u"J\u00f6rg (Tribe \"Z\")"), FString("Main Server")};
}

class Discord : public ::testing::Test {
 protected:
  Discord() : server_(Options()) {
    ConfigHelper::ConfigDiscordLog config;
    for (auto* kind : {&config.Buy, &config.Sell, &config.Redeem, &config.Trade}) kind->enabled = true;
    config.Buy.webhook = "http://discord.test/webhooks/buy";
    config.Sell.webhook = "http://discord.test/webhooks/sell";
    config.Redeem.webhook = "http://discord.test/webhooks/redeem";
    config.Trade.webhook = "http://discord.test/webhooks/trade";
    DiscordHelper::setConfig(config);
  }
  static sim::ServerOptions Options() {
    sim::ServerOptions options;
    options.ServerDir = (std::filesystem::temp_directory_path() / "tandorshop-discord").string();
    return options;
  }
  json Body(std::size_t index) {
    EXPECT_TRUE(server_.Discord().WaitFor(index + 1));
    const auto received = server_.Discord().Received();
    return index < received.size() ? json::parse(received[index].Body) : json();
  }

  dbtest::ShopTables tables_{"disc"};
  sim::Server server_;
};

TEST_F(Discord, BuyAndSellBodiesCarryTheirColoursAuthorsAndNumbers) {
  DBHelper::ShopLogRecord bought;
  ASSERT_TRUE(DBHelper::buyPacket(Info(), -300, FString("Kit,2;0;;"), FString("d"), 2, FString("Kit"), false, &bought));
  DiscordHelper::sendBuy(bought);
  const auto raw = (server_.Discord().WaitFor(1), server_.Discord().Received().at(0));
  EXPECT_EQ(raw.Path, "/webhooks/buy");
  EXPECT_EQ(raw.ContentType, "application/json");
  EXPECT_EQ(raw.Body,
            "{\"attachments\":[],\"content\":null,\"embeds\":[{\"author\":{\"name\":\"New Buy (Main Server)\"},"
            "\"color\":1237504,\"description\":\"EosBuyer\",\"fields\":[{\"inline\":true,\"name\":\"Pack\","
            "\"value\":\"Kit,2;0;;\"},{\"inline\":true,\"name\":\"Amount\",\"value\":2},{\"inline\":true,"
            "\"name\":\"Points\",\"value\":-300}],\"title\":\"J\xc3\xb6rg (Tribe \\\"Z\\\")\"}]}");

  tables_.SetPoints("EosBuyer", 0);  // a sale's credit commits only on a row
  DBHelper::ShopLogRecord sold;
  ASSERT_TRUE(DBHelper::sellItems(Info(), FString("Stone"), FString("d"), 2, 40, &sold));
  DiscordHelper::sendSell(sold);
  const json sell = Body(1);
  EXPECT_EQ(sell["embeds"][0]["author"]["name"], "New Sell (Main Server)");
  EXPECT_EQ(sell["embeds"][0]["color"], 14811136);
  EXPECT_EQ(sell["embeds"][0]["fields"][1]["value"], 20);
  EXPECT_EQ(sell["embeds"][0]["fields"][2]["value"], 40);
}

TEST_F(Discord, TradeNamesTheRecieverWithALineFeed) {
  tables_.SetPoints("EosFrom", 100);
  tables_.SetPoints("EosTo", 0);
  DBHelper::TradeLogRecord traded;
  ASSERT_EQ(DBHelper::tradePoints(FString("EosFrom"), FString("Ann (A)"), FString("EosTo"), FString("Ben (B)"), 30,
                                  &traded),
            DBHelper::kTradeDone);
  DiscordHelper::sendTrade(traded);
  const json trade = Body(0);
  EXPECT_EQ(trade, json::parse(R"J({"attachments": [], "content": null, "embeds": [{
      "author": {"name": "New Trade"}, "color": 14841344, "description": "EosFrom",
      "fields": [{"inline": true, "name": "Reciever", "value": "Ben (B)\nEosTo"},
                 {"inline": true, "name": "Points", "value": 30}],
      "title": "Ann (A)"}]})J"));
}

TEST_F(Discord, RedeemBodyAndKindsThatAreOffOrHaveNoWebhook) {
  DBHelper::ShopLogRecord record = DBHelper::ShopLogFor(Info(), FString("Kit,1;;;"), FString("d"));
  record.redeemsLeft = 3;
  EXPECT_EQ(DiscordHelper::RedeemBody(record)["embeds"][0]["fields"],
            json::parse(R"([{"inline": true, "name": "Pack", "value": "Kit,1;;;"},
                            {"inline": true, "name": "Redeem left", "value": 3}])"));
  EXPECT_EQ(DiscordHelper::RedeemBody(record)["embeds"][0]["color"], 14279168);

  ConfigHelper::ConfigDiscordLog config;
  config.Buy = {true, ""};
  config.Sell = {false, "http://discord.test/webhooks/sell"};
  DiscordHelper::setConfig(config);
  DiscordHelper::sendBuy(record);
  DiscordHelper::sendSell(record);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(server_.Discord().Received().empty());
}

TEST_F(Discord, BrokenTextIsSentWithReplacementCharactersAndNothingThrows) {
  DBHelper::ShopLogRecord record;
  const char16_t broken[] = {u'A', 0xD800, u'B', 0};  // a lone surrogate
  record.playerLabel = FString(broken);
  record.packet = FString(std::u16string_view(u"\xDFFF" u"x"));
  EXPECT_NO_THROW(DiscordHelper::sendBuy(record));
  const json body = Body(0);
  EXPECT_EQ(body["embeds"][0]["title"], "A\xEF\xBF\xBD" "B");
  EXPECT_EQ(body["embeds"][0]["fields"][0]["value"], "\xEF\xBF\xBDx");
  // Not UTF-8 at all: serialised with replacement characters instead of throwing.
  EXPECT_EQ(DiscordHelper::Serialise(json{{"t", std::string("a\xff")}}), "{\"t\":\"a\xEF\xBF\xBD\"}");
}

}  // namespace
