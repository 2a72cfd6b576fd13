// RCON over a real socket and HTTP over real TCP, as the simulator serves them.
#include <gtest/gtest.h>
#include <httplib.h>

#include <dirent.h>

#include <thread>

#include "AsaApi/Commands.h"
#include "AsaApi/Game/RCON.h"
#include "AsaApi/Requests.h"
#include "testsupport/RconClient.h"
#include "testsupport/ServerFixture.h"

namespace {

using testsupport::ServerFixture;

TEST(Rcon, LongRepliesSpanSeveralPacketsAndUnknownCommandsStillAnswer) {
  ServerFixture fixture;
  const std::string longText(10000, 'x');
  AsaApi::GetCommands().AddRconCommand(FString("Long"), [&](RCONClientConnection* c, RCONPacket* p, UWorld*) {
    FString reply(longText);
    c->SendMessage(p->Id, 0, &reply);
  });
  EXPECT_EQ(fixture.Rcon("Long"), longText);
  EXPECT_EQ(fixture.Rcon("NoSuchCommand"), "Server received, But no response!! \n");
}

int OpenFileCount() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (dirent* entry = ::readdir(dir))
      if (entry->d_name[0] != '.') ++count;
    ::closedir(dir);
  }
  return count;
}

TEST(Rcon, ClientsThatLeaveAreForgotten) {
  ServerFixture fixture;
  const int before = OpenFileCount();
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(fixture.Rcon("Anything").has_value());
  for (int i = 0; i < 200 && OpenFileCount() > before; ++i) {
    fixture.Server().Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_LE(OpenFileCount(), before) << "the sockets of clients that left are closed";
}

TEST(Http, RequestsAreRoutedToLocalServersAndCompleteOnTheGameThread) {
  httplib::Server web;
  std::string receivedBody;
  std::string receivedHeader;
  web.Post("/hook", [&](const httplib::Request& request, httplib::Response& response) {
    receivedBody = request.body;
    receivedHeader = request.get_header_value("X-Test");
    response.set_content("{\"ok\":true}", "application/json");
  });
  const int port = web.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { web.listen_after_bind(); });

  ServerFixture fixture;
  fixture.Server().RouteHost("discord.example", "127.0.0.1:" + std::to_string(port));
  bool done = false;
  bool success = false;
  std::string body;
  const auto gameThread = std::this_thread::get_id();
  ASSERT_TRUE(API::Requests::Get().CreatePostRequest(
      "https://discord.example/hook",
      [&](bool ok, std::string response, std::unordered_map<std::string, std::string>) {
        EXPECT_EQ(std::this_thread::get_id(), gameThread);
        done = true;
        success = ok;
        body = response;
      },
      "{\"content\":\"hi\"}", "application/json", {"X-Test: yes"}));
  for (int i = 0; i < 1000 && !done; ++i) {
    fixture.Server().Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(done);
  EXPECT_TRUE(success);
  EXPECT_EQ(body, "{\"ok\":true}");
  EXPECT_EQ(receivedBody, "{\"content\":\"hi\"}");
  EXPECT_EQ(receivedHeader, "yes");

  // A closed port fails, once, without hanging.
  web.stop();
  serving.join();
  done = false;
  ASSERT_TRUE(API::Requests::Get().CreatePostRequest(
      "http://127.0.0.1:" + std::to_string(port) + "/hook",
      [&](bool ok, std::string, std::unordered_map<std::string, std::string>) {
        done = true;
        success = ok;
      },
      "{}", "application/json", {}));
  for (int i = 0; i < 2000 && !done; ++i) {
    fixture.Server().Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(done);
  EXPECT_FALSE(success);
}

}  // namespace
