// The shop page's HTTP side: its requests reach the mod on the game thread, and
// bad input is refused with a reason.
#include <gtest/gtest.h>
#include <httplib.h>

#include <future>

#include <nlohmann/json.hpp>

#include "AsaApi/Game/TandorShopMod.h"
#include "sim/companions/ClientMod.h"
#include "testsupport/ServerFixture.h"

namespace {

using nlohmann::json;

struct Answer {
  int Status = 0;
  std::string Body;
};

class ShopPageHttp : public ::testing::Test {
 protected:
  static sim::ServerOptions WithPage() {
    sim::ServerOptions options;
    options.ShopPage = true;
    return options;
  }
  // One request from another thread while the game loop ticks here.
  Answer Call(const std::string& method, const std::string& path, const std::string& body = "") {
    auto pending = std::async(std::launch::async, [&] {
      httplib::Client client("127.0.0.1", fixture_.Server().PagePort());
      auto result = method == "GET" ? client.Get(path.c_str()) : client.Post(path.c_str(), body, "application/json");
      return result ? Answer{result->status, result->body} : Answer{};
    });
    fixture_.TickUntil([&] { return pending.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; });
    return pending.get();
  }
  Answer Send(const json& body) { return Call("POST", "/api/send", body.dump()); }

  testsupport::ServerFixture fixture_{WithPage()};
};

TEST_F(ShopPageHttp, ThePageListsPlayersAndSendsTheModsRequestsAsThePlayer) {
  sim::PlayerSpec spec = sim::PlayerSpec::Of("PagePlayer", "Rowan");
  spec.TribeName = "Stonebridge";
  fixture_.Server().JoinPlayer(spec);

  const Answer players = Call("GET", "/api/players");
  ASSERT_EQ(players.Status, 200) << players.Body;
  EXPECT_EQ(json::parse(players.Body)["players"][0]["Tribe"], "Stonebridge");
  const Answer page = Call("GET", "/");
  EXPECT_EQ(page.Status, 200);
  EXPECT_NE(page.Body.find("shop.js"), std::string::npos);

  const Answer sent = Send({{"player", "pageplayer"}, {"action", "category"}, {"int1", 3}});
  ASSERT_EQ(sent.Status, 200) << sent.Body;
  const auto requests = fixture_.Server().Mod().RequestsOf("PagePlayer");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Message, TandorShopMod::MsgCategory);
  EXPECT_EQ(requests[0].IntParam1, 3);
  EXPECT_EQ(fixture_.Server().Mod().MessagesReachingGame(), 1u);

  const Answer view = Call("GET", "/api/view?player=PagePlayer");
  ASSERT_EQ(view.Status, 200) << view.Body;
  const json shown = json::parse(view.Body);
  EXPECT_EQ(shown["player"]["Name"], "Rowan");
  EXPECT_TRUE(shown["points"].is_null()) << "the shop was never opened";
  EXPECT_EQ(shown["packets"], json::object()) << "no category list without an opened shop";
}

TEST_F(ShopPageHttp, BadRequestsAreRefusedWithAReasonAndSendNothing) {
  fixture_.Server().JoinPlayer(sim::PlayerSpec::Of("PagePlayer"));
  EXPECT_EQ(Send({{"player", "PagePlayer"}, {"action", "givemepoints"}}).Status, 400);
  EXPECT_EQ(Send({{"player", "Nobody"}, {"action", "open"}}).Status, 400);
  EXPECT_EQ(Send({{"player", "PagePlayer"}, {"action", "sell"}, {"int1", 4'294'967'296LL}}).Status, 400);
  EXPECT_EQ(Send({{"player", "PagePlayer"}, {"action", "sell"}, {"int1", "5"}}).Status, 400);
  EXPECT_EQ(Send({{"action", "open"}}).Status, 400);
  EXPECT_EQ(Call("POST", "/api/send", "{not json").Status, 400);
  EXPECT_EQ(Call("POST", "/api/send", "[1,2]").Status, 400);
  EXPECT_EQ(Call("GET", "/api/view?player=Nobody").Status, 404);
  EXPECT_EQ(Call("GET", "/../CMakeLists.txt").Status, 404);
  EXPECT_TRUE(fixture_.Server().Mod().RequestsOf("PagePlayer").empty());
}

}  // namespace
