// The RCON port under abuse: clients that never read, crowds of idle
// connections, password guessing. The game loop keeps ticking through all of it
// and an admin is served afterwards.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AsaApi/Commands.h"
#include "AsaApi/Game/RCON.h"
#include "sim/server/RconServer.h"
#include "testsupport/RconClient.h"
#include "testsupport/ServerFixture.h"

namespace {

using sim::RconLimits;
using sim::RconServer;
using testsupport::ServerFixture;

// A client socket that speaks the protocol by hand, so it can misbehave.
class RawClient {
 public:
  explicit RawClient(uint16_t port, int receiveBuffer = 0) {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) ::setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof(receiveBuffer));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  }
  ~RawClient() { ::close(socket_); }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool Connected() const { return connected_; }

  // False once the server no longer takes what is sent.
  bool Write(int32_t id, int32_t type, const std::string& body) {
    const std::string packet = rcon::EncodePacket(id, type, body);
    return ::send(socket_, packet.data(), packet.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(packet.size());
  }

  // Reads whatever arrives until the server closes the connection; false when
  // it is still open at the deadline.
  bool ReadUntilClosed(std::string& received, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd waiting{socket_, POLLIN, 0};
      if (::poll(&waiting, 1, 20) <= 0) continue;
      char chunk[65536];
      const ssize_t got = ::recv(socket_, chunk, sizeof(chunk), 0);
      if (got <= 0) return true;
      received.append(chunk, static_cast<std::size_t>(got));
    }
    return false;
  }

  // Whether something (data or the end) is there to read now.
  bool Readable() {
    pollfd waiting{socket_, POLLIN, 0};
    return ::poll(&waiting, 1, 0) > 0;
  }

 private:
  int socket_ = -1;
  bool connected_ = false;
};

std::size_t ThreadCount() {
  std::size_t count = 0;
  if (DIR* dir = ::opendir("/proc/self/task")) {
    while (dirent* entry = ::readdir(dir))
      if (entry->d_name[0] != '.') ++count;
    ::closedir(dir);
  }
  return count;
}

// Authenticates and runs one command the way an admin tool does, ticking the game loop.
std::optional<std::string> AdminRuns(ServerFixture& fixture, uint16_t port, const std::string& password,
                                     const std::string& command) {
  testsupport::RconClient client("127.0.0.1", port);
  auto pump = [&fixture] { fixture.Server().Tick(); };
  if (!client.Authenticate(password, pump)) return std::nullopt;
  return client.Execute(command, pump);
}

TEST(RconAbuse, AClientThatNeverReadsIsDroppedAndTheGameLoopNeverWaitsForIt) {
  ServerFixture fixture;
  RconLimits limits;
  limits.MaxQueuedBytes = 256 * 1024;
  RconServer rcon(fixture.Server(), 0, "pw", limits);
  int ran = 0;
  // Replies go to this RCON server, from the game thread, as the server's own replies do.
  AsaApi::GetCommands().AddRconCommand(FString("Flood"), [&](RCONClientConnection* c, RCONPacket* p, UWorld*) {
    ++ran;
    rcon.Send(reinterpret_cast<sim::SimRconConnection*>(c)->ConnectionId, p->Id, RconServer::ResponseValue,
              std::string(64 * 1024, 'f'));
  });

  RawClient quiet(rcon.Port(), 4096);
  ASSERT_TRUE(quiet.Connected());
  ASSERT_TRUE(quiet.Write(1, RconServer::Auth, "pw"));
  // 25 MiB of replies asked for, far more than the sockets can buffer.
  for (int i = 0; i < 400; ++i) ASSERT_TRUE(quiet.Write(10 + i, RconServer::ExecCommand, "Flood"));

  // Every tick returns although the client reads nothing, until it is let go.
  ASSERT_TRUE(fixture.TickUntil([&] { return ran > 0 && rcon.ConnectionCount() == 0; }))
      << ran << " commands ran, " << rcon.ConnectionCount() << " connections open";
  EXPECT_LT(ran, 400) << "commands queued behind the dropped client are not run";
  std::string received;
  EXPECT_TRUE(quiet.ReadUntilClosed(received));
  EXPECT_LT(received.size(), 400u * 64 * 1024);

  // Meanwhile an admin who reads is served in full.
  EXPECT_EQ(AdminRuns(fixture, rcon.Port(), "pw", "Flood"), std::string(64 * 1024, 'f'));
}

TEST(RconAbuse, AThousandIdleConnectionsGetNoThreadsAndThoseBeyondTheCapAreTold) {
  ServerFixture fixture;
  RconLimits limits;  // the server's own: 16 places, 12 of them for connections not logged in
  RconServer rcon(fixture.Server(), 0, "pw", limits);
  const std::size_t threadsBefore = ThreadCount();

  std::vector<std::unique_ptr<RawClient>> crowd;
  for (int i = 0; i < 1000; ++i) {
    crowd.push_back(std::make_unique<RawClient>(rcon.Port()));
    ASSERT_TRUE(crowd.back()->Connected()) << i;
  }
  // Those beyond the cap hear why and are closed; the others wait, open.
  const int beyondCap = 1000 - static_cast<int>(limits.MaxNotLoggedIn);
  auto told = [&] {
    int count = 0;
    for (auto& client : crowd) count += client->Readable() ? 1 : 0;
    return count;
  };
  ASSERT_TRUE(fixture.TickUntil([&] { return told() == beyondCap; })) << told();
  for (auto& client : crowd) {
    if (!client->Readable()) continue;
    std::string received;
    ASSERT_TRUE(client->ReadUntilClosed(received));
    EXPECT_NE(received.find(RconServer::BusyText), std::string::npos);
  }
  EXPECT_EQ(rcon.ConnectionCount(), limits.MaxNotLoggedIn);
  // Other parts of the process may start a thread meanwhile; a thread per
  // connection would add at least one for each of the 16 kept.
  EXPECT_LT(ThreadCount(), threadsBefore + 8) << "no thread per connection";

  // The crowd leaves: its places are freed and an admin is served.
  crowd.clear();
  ASSERT_TRUE(fixture.TickUntil([&] { return rcon.ConnectionCount() == 0; }));
  EXPECT_EQ(AdminRuns(fixture, rcon.Port(), "pw", "NoSuchCommand"), "Server received, But no response!! \n");
}

TEST(RconAbuse, SixteenStrangersWaitingLeaveRoomForTheAdmin) {
  ServerFixture fixture;
  const uint16_t port = fixture.Server().RconPort();
  std::vector<std::unique_ptr<RawClient>> strangers;
  for (int i = 0; i < 16; ++i) {
    strangers.push_back(std::make_unique<RawClient>(port));
    ASSERT_TRUE(strangers.back()->Connected()) << i;
  }
  EXPECT_EQ(AdminRuns(fixture, port, fixture.Server().RconPassword(), "NoSuchCommand"),
            "Server received, But no response!! \n");
}

TEST(RconAbuse, AConnectionThatDoesNotLogInIsClosedAfterTheLoginTimeButAnAdminStays) {
  ServerFixture fixture;
  RconLimits limits;
  limits.LoginTimeout = std::chrono::milliseconds(100);
  RconServer rcon(fixture.Server(), 0, "pw", limits);
  testsupport::RconClient admin("127.0.0.1", rcon.Port());
  auto pump = [&fixture] { fixture.Server().Tick(); };
  ASSERT_TRUE(admin.Authenticate("pw", pump));

  RawClient stranger(rcon.Port());
  std::string received;
  EXPECT_TRUE(stranger.ReadUntilClosed(received));
  EXPECT_TRUE(received.empty());
  // Well past the login time, the admin's connection still serves commands.
  EXPECT_EQ(admin.Execute("NoSuchCommand", pump), "Server received, But no response!! \n");
  EXPECT_EQ(rcon.ConnectionCount(), 1u);
}

TEST(RconAbuse, AConnectionThatSaysNothingIsClosedAfterTheIdleTime) {
  ServerFixture fixture;
  RconLimits limits;
  limits.IdleTimeout = std::chrono::milliseconds(50);
  RconServer rcon(fixture.Server(), 0, "pw", limits);
  RawClient idle(rcon.Port());
  std::string received;
  EXPECT_TRUE(idle.ReadUntilClosed(received));
  EXPECT_TRUE(received.empty());
}

TEST(RconAbuse, TwoThousandWrongPasswordsCloseConnectionsAfterThreeAndTheAdminStillGetsIn) {
  ServerFixture fixture;
  const uint16_t port = fixture.Server().RconPort();
  const std::string password = fixture.Server().RconPassword();

  // All on one connection: three answers, then the connection is closed.
  {
    RawClient guesser(port);
    for (int i = 0; i < 2000; ++i)
      if (!guesser.Write(i + 1, RconServer::Auth, "guess" + std::to_string(i))) break;
    std::string received;
    ASSERT_TRUE(guesser.ReadUntilClosed(received));
    EXPECT_LE(received.size(), 3u * 14) << "at most three refusals were answered";
  }
  // Reconnecting after each closed connection: 2,000 guesses in all.
  int guesses = 0, connections = 0;
  while (guesses < 2000) {
    RawClient guesser(port);
    ASSERT_TRUE(guesser.Connected());
    ++connections;
    for (int i = 0; i < 3; ++i, ++guesses) ASSERT_TRUE(guesser.Write(i + 1, RconServer::Auth, "wrong"));
    std::string received;
    ASSERT_TRUE(guesser.ReadUntilClosed(received));
    ASSERT_EQ(received.size(), 3u * 14) << "three auth refusals of 14 bytes each";
    int32_t id;
    std::memcpy(&id, received.data() + 4, 4);
    EXPECT_EQ(id, -1);
  }
  EXPECT_EQ(connections, 667);
  EXPECT_EQ(AdminRuns(fixture, port, password, "NoSuchCommand"), "Server received, But no response!! \n");
}

}  // namespace
