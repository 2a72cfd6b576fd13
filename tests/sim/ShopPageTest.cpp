// The shop page's HTTP side: its requests reach the mod on the game thread, and
// bad input is refused with a reason.
#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <vector>

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

TEST_F(ShopPageHttp, AbusiveRequestsAreAnswered4xxInOurOwnWordsAndSendNothing) {
  fixture_.Server().JoinPlayer(sim::PlayerSpec::Of("PagePlayer"));
  const std::vector<Answer> answers{
      Call("POST", "/api/send", std::string(1 << 20, ' ')),                          // far over the body limit
      Call("POST", "/api/send", "{\"player\":\"Page\xff\xfePlayer\",\"action\":\"open\"}"),  // not UTF-8
      Call("GET", "/api/view?player=%FF%FE"),
      Send({{"player", "PagePlayer"}, {"action", "sell"}, {"int1", 18446744073709551615ULL}}),
      Send({{"player", "PagePlayer"}, {"action", "sell"}, {"int1", 2147483648LL}}),
      Send({{"player", "PagePlayer"}, {"action", "sell"}, {"int2", -2147483649LL}}),
      Send({{"player", "PagePlayer"}, {"action", "sell"}, {"int1", 1.5}}),
      Send({{"player", 7}, {"action", "open"}}),
  };
  for (std::size_t i = 0; i < answers.size(); ++i) {
    EXPECT_GE(answers[i].Status, 400) << i;
    EXPECT_LT(answers[i].Status, 500) << i << " " << answers[i].Body;
    EXPECT_EQ(answers[i].Body.find("json."), std::string::npos) << i << " " << answers[i].Body;
    EXPECT_EQ(answers[i].Body.find("exception"), std::string::npos) << i << " " << answers[i].Body;
  }
  EXPECT_EQ(answers[0].Status, 413);
  EXPECT_TRUE(fixture_.Server().Mod().RequestsOf("PagePlayer").empty());
  // The largest numbers that fit are taken as they are.
  EXPECT_EQ(Send({{"player", "PagePlayer"}, {"action", "category"}, {"int1", 2147483647}}).Status, 200);
  ASSERT_EQ(fixture_.Server().Mod().RequestsOf("PagePlayer").size(), 1u);
  EXPECT_EQ(fixture_.Server().Mod().RequestsOf("PagePlayer")[0].IntParam1, 2147483647);
}

TEST_F(ShopPageHttp, AClientThatStopsInTheMiddleOfARequestIsLetGo) {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(fixture_.Server().PagePort());
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  const std::string partial = "POST /api/send HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\n{\"pla";
  ASSERT_EQ(::send(socket, partial.data(), partial.size(), MSG_NOSIGNAL), static_cast<ssize_t>(partial.size()));
  // The page gives up on the rest of the body and closes the connection.
  bool closed = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!closed && std::chrono::steady_clock::now() < deadline) {
    fixture_.Server().Tick();
    pollfd waiting{socket, POLLIN, 0};
    if (::poll(&waiting, 1, 20) <= 0) continue;
    char chunk[4096];
    closed = ::recv(socket, chunk, sizeof(chunk), 0) <= 0;
  }
  ::close(socket);
  EXPECT_TRUE(closed);
  EXPECT_EQ(Call("GET", "/api/players").Status, 200);
}

}  // namespace
