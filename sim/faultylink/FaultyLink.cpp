#include "sim/faultylink/FaultyLink.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <optional>
#include <random>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "sim/faultylink/MysqlWire.h"

namespace sim::faultylink {
namespace {

using Clock = std::chrono::steady_clock;

// A swallowed answer whose end the link cannot see (a result set) counts as
// complete once the server has been quiet this long.
constexpr auto kAnswerQuiet = std::chrono::milliseconds(50);
// A swallowed answer that never comes ends the connection after this long anyway.
constexpr auto kAnswerLimit = std::chrono::seconds(10);
// Reading stops while this much waits to be written the other way.
constexpr std::size_t kMaxQueued = 1 << 20;
constexpr std::size_t kReadBytes = 64 * 1024;

class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~Fd() { Reset(); }
  int Get() const { return fd_; }
  void Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

void SetNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL, 0) | O_NONBLOCK); }

void SetNoDelay(int fd) {
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

Fd ListenOnFreePort() {
  Fd socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (socket.Get() < 0) throw std::runtime_error("FaultyLink: no socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (::bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(socket.Get(), 64) != 0)
    throw std::runtime_error("FaultyLink: cannot listen");
  SetNonBlocking(socket.Get());
  return socket;
}

uint16_t PortOf(const Fd& socket) {
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

// A blocking connect (the upstream is near), then non-blocking like every socket of the link.
Fd ConnectTo(const std::string& host, uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return Fd();
  Fd socket;
  for (addrinfo* each = found; each != nullptr; each = each->ai_next) {
    Fd attempt(::socket(each->ai_family, each->ai_socktype | SOCK_CLOEXEC, each->ai_protocol));
    if (attempt.Get() >= 0 && ::connect(attempt.Get(), each->ai_addr, each->ai_addrlen) == 0) {
      socket = std::move(attempt);
      break;
    }
  }
  ::freeaddrinfo(found);
  if (socket.Get() >= 0) {
    SetNonBlocking(socket.Get());
    SetNoDelay(socket.Get());
  }
  return socket;
}

struct Chunk {
  Clock::time_point due;
  std::string bytes;
};

// Data on its way from one socket to the other.
struct Direction {
  std::deque<Chunk> queue;
  std::size_t queued = 0;   // bytes in queue
  std::size_t written = 0;  // of the front chunk
  bool ended = false;       // the sending side closed

  bool DueNow(Clock::time_point now) const { return !queue.empty() && queue.front().due <= now; }
  void Push(Clock::time_point due, std::string bytes) {
    queued += bytes.size();
    queue.push_back({due, std::move(bytes)});
  }
};

struct Connection {
  Fd client;
  Fd upstream;
  Direction up;    // client to server
  Direction down;  // server to client
  wire::PacketSplitter commands;
  // After a dropped COMMIT: the server's answers are read and thrown away.
  bool swallowing = false;
  wire::PacketSplitter answers;
  wire::AnswerTracker tracker;
  bool answerUnclear = false;
  Clock::time_point lastAnswerByte{};
  Clock::time_point swallowLimit{};
  bool closed = false;
};

enum class Side { Client, Upstream };

}  // namespace

class FaultyLink::Loop {
 public:
  Loop(std::string upstreamHost, uint16_t upstreamPort)
      : upstreamHost_(std::move(upstreamHost)), upstreamPort_(upstreamPort), listener_(ListenOnFreePort()) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("FaultyLink: no pipe");
    wakeRead_ = Fd(fds[0]);
    wakeWrite_ = Fd(fds[1]);
    port_ = PortOf(listener_);
    thread_ = std::thread([this] { Run(); });
  }

  ~Loop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    Wake();
    thread_.join();
  }

  uint16_t Port() const { return port_; }

  void DropAfterNextCommit() {
    std::lock_guard lock(mutex_);
    dropNext_ = true;
  }

  void DropCommitsAtRandom(double chance, uint32_t seed) {
    std::lock_guard lock(mutex_);
    dropChance_ = std::clamp(chance, 0.0, 1.0);
    random_.seed(seed);
  }

  void CutAll() {
    std::unique_lock lock(mutex_);
    const uint64_t ticket = ++cutsAsked_;
    Wake();
    done_.wait(lock, [&] { return cutsDone_ >= ticket || stop_; });
  }

  void StallUntil(Clock::time_point end) {
    {
      std::unique_lock lock(mutex_);
      stallEnd_ = end;
      // Once this returns, nothing more passes until the stall ends.
      const uint64_t ticket = ++rounds_;
      Wake();
      done_.wait(lock, [&] { return roundsDone_ >= ticket || stop_; });
    }
  }

  void SetDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
  }

  uint64_t CommitsSeen() const { return commitsSeen_.load(); }
  uint64_t CommitsDropped() const { return commitsDropped_.load(); }
  uint64_t ConnectionsAccepted() const { return accepted_.load(); }
  uint64_t OpenConnections() const { return open_.load(); }

 private:
  void Wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite_.Get(), &byte, 1);
  }

  void DrainWake() {
    char bytes[64];
    while (::read(wakeRead_.Get(), bytes, sizeof(bytes)) > 0) {
    }
  }

  void Run() {
    std::vector<pollfd> polled;
    std::vector<std::pair<Connection*, Side>> owners;
    for (;;) {
      const int timeout = BuildPoll(polled, owners);
      ::poll(polled.data(), polled.size(), timeout);
      std::unique_lock lock(mutex_);
      if (stop_) break;
      DrainWake();
      // A cut closes everything the poll saw: its results are stale then.
      const bool cut = cutsDone_ < cutsAsked_;
      if (cut) {
        connections_.clear();
        cutsDone_ = cutsAsked_;
      }
      const bool stalled = Clock::now() < stallEnd_;
      if (polled[1].revents & POLLIN) AcceptAll();
      if (!stalled && !cut) {
        for (std::size_t i = 2; i < polled.size(); ++i) Serve(*owners[i].first, owners[i].second, polled[i].revents);
        for (Connection& connection : connections_) Flush(connection, Clock::now());
      }
      for (Connection& connection : connections_) EndSwallowingWhenAnswered(connection, Clock::now());
      connections_.remove_if([](const Connection& connection) { return connection.closed; });
      open_ = connections_.size();
      roundsDone_ = rounds_;
      done_.notify_all();
    }
    connections_.clear();
    open_ = 0;
    done_.notify_all();
  }

  // The sockets to wait on and how long (ms) until something queued falls due.
  int BuildPoll(std::vector<pollfd>& polled, std::vector<std::pair<Connection*, Side>>& owners) {
    std::lock_guard lock(mutex_);
    polled.clear();
    owners.clear();
    polled.push_back({wakeRead_.Get(), POLLIN, 0});
    polled.push_back({listener_.Get(), POLLIN, 0});
    owners.resize(2);
    const Clock::time_point now = Clock::now();
    std::optional<Clock::time_point> next;
    const auto consider = [&](Clock::time_point when) { next = next ? std::min(*next, when) : when; };
    if (now < stallEnd_) {
      consider(stallEnd_);
    } else {
      for (Connection& connection : connections_) {
        AddSide(polled, owners, connection, Side::Client, now, consider);
        AddSide(polled, owners, connection, Side::Upstream, now, consider);
      }
    }
    for (Connection& connection : connections_) {
      if (!connection.swallowing) continue;
      consider(connection.swallowLimit);
      if (connection.answerUnclear) consider(connection.lastAnswerByte + kAnswerQuiet);
    }
    if (!next) return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now).count();
    return static_cast<int>(std::clamp<int64_t>(wait, 0, 1000));
  }

  template <typename Consider>
  void AddSide(std::vector<pollfd>& polled, std::vector<std::pair<Connection*, Side>>& owners,
               Connection& connection, Side side, Clock::time_point now, Consider& consider) {
    const bool client = side == Side::Client;
    Direction& incoming = client ? connection.up : connection.down;
    Direction& outgoing = client ? connection.down : connection.up;
    short events = 0;
    if (!incoming.ended && incoming.queued < kMaxQueued) events |= POLLIN;
    if (outgoing.DueNow(now)) events |= POLLOUT;
    if (!outgoing.queue.empty() && !outgoing.DueNow(now)) consider(outgoing.queue.front().due);
    polled.push_back({client ? connection.client.Get() : connection.upstream.Get(), events, 0});
    owners.emplace_back(&connection, side);
  }

  void AcceptAll() {
    for (;;) {
      Fd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
      if (client.Get() < 0) return;
      ++accepted_;
      Fd upstream = ConnectTo(upstreamHost_, upstreamPort_);
      if (upstream.Get() < 0) continue;  // the client sees its connection closed
      SetNoDelay(client.Get());
      Connection& connection = connections_.emplace_back();
      connection.client = std::move(client);
      connection.upstream = std::move(upstream);
    }
  }

  void Serve(Connection& connection, Side side, short revents) {
    if (connection.closed || revents == 0) return;
    if (revents & (POLLIN | POLLHUP | POLLERR)) Read(connection, side);
  }

  void Read(Connection& connection, Side side) {
    const bool client = side == Side::Client;
    const int fd = client ? connection.client.Get() : connection.upstream.Get();
    Direction& incoming = client ? connection.up : connection.down;
    std::string bytes(kReadBytes, '\0');
    const ssize_t got = ::recv(fd, bytes.data(), bytes.size(), 0);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    if (got <= 0) {
      incoming.ended = true;
      return;
    }
    bytes.resize(static_cast<std::size_t>(got));
    const Clock::time_point due = Clock::now() + delay_;
    if (client) return FromClient(connection, std::move(bytes), due);
    if (connection.swallowing) return Swallow(connection, bytes);
    incoming.Push(due, std::move(bytes));
  }

  // The client's bytes go up; a COMMIT chosen for dropping goes up and turns the
  // connection to swallowing its answer. Nothing the client sends after it passes.
  void FromClient(Connection& connection, std::string bytes, Clock::time_point due) {
    if (connection.swallowing) return;
    std::string_view rest = bytes;
    std::size_t forward = 0;
    while (!rest.empty()) {
      wire::PacketView packet;
      bool completed = false;
      const std::size_t used = connection.commands.Feed(rest, packet, completed);
      rest.remove_prefix(used);
      forward += used;
      if (completed && wire::IsCommitQuery(packet)) {
        ++commitsSeen_;
        if (ChooseDrop()) {
          ++commitsDropped_;
          connection.swallowing = true;
          connection.swallowLimit = Clock::now() + delay_ + kAnswerLimit;
          break;
        }
      }
    }
    bytes.resize(forward);
    connection.up.Push(due, std::move(bytes));
  }

  bool ChooseDrop() {
    if (dropNext_) {
      dropNext_ = false;
      return true;
    }
    return dropChance_ > 0 && std::bernoulli_distribution(dropChance_)(random_);
  }

  void Swallow(Connection& connection, std::string_view bytes) {
    connection.lastAnswerByte = Clock::now();
    while (!bytes.empty()) {
      wire::PacketView packet;
      bool completed = false;
      bytes.remove_prefix(connection.answers.Feed(bytes, packet, completed));
      if (!completed) break;
      const wire::AnswerTracker::State state = connection.tracker.Feed(packet);
      if (state == wire::AnswerTracker::State::Unclear) connection.answerUnclear = true;
      if (state == wire::AnswerTracker::State::Done) Close(connection);
    }
  }

  void EndSwallowingWhenAnswered(Connection& connection, Clock::time_point now) {
    if (!connection.swallowing || connection.closed) return;
    const bool quiet = connection.answerUnclear && now - connection.lastAnswerByte >= kAnswerQuiet;
    if (quiet || now >= connection.swallowLimit || connection.down.ended) Close(connection);
  }

  // Writes what is due both ways; a side that ended closes the connection once
  // what it sent has been passed on.
  void Flush(Connection& connection, Clock::time_point now) {
    if (connection.closed) return;
    if (!Write(connection.up, connection.upstream.Get(), now) ||
        !Write(connection.down, connection.client.Get(), now))
      return Close(connection);
    if ((connection.up.ended && connection.up.queue.empty()) ||
        (connection.down.ended && connection.down.queue.empty() && !connection.swallowing))
      Close(connection);
  }

  // False when the socket failed.
  static bool Write(Direction& direction, int fd, Clock::time_point now) {
    while (direction.DueNow(now)) {
      Chunk& front = direction.queue.front();
      const std::string_view left = std::string_view(front.bytes).substr(direction.written);
      const ssize_t sent = ::send(fd, left.data(), left.size(), MSG_NOSIGNAL);
      if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
      direction.written += static_cast<std::size_t>(sent);
      if (direction.written < front.bytes.size()) return true;
      direction.queued -= front.bytes.size();
      direction.written = 0;
      direction.queue.pop_front();
    }
    return true;
  }

  static void Close(Connection& connection) {
    connection.closed = true;
    connection.client.Reset();
    connection.upstream.Reset();
  }

  const std::string upstreamHost_;
  const uint16_t upstreamPort_;
  Fd listener_;
  Fd wakeRead_;
  Fd wakeWrite_;
  uint16_t port_ = 0;

  std::mutex mutex_;
  std::condition_variable done_;
  bool stop_ = false;
  bool dropNext_ = false;
  double dropChance_ = 0;
  std::mt19937 random_{1};
  uint64_t cutsAsked_ = 0;
  uint64_t cutsDone_ = 0;
  uint64_t rounds_ = 0;
  uint64_t roundsDone_ = 0;
  Clock::time_point stallEnd_{};
  std::chrono::microseconds delay_{0};
  std::list<Connection> connections_;

  std::atomic<uint64_t> commitsSeen_{0};
  std::atomic<uint64_t> commitsDropped_{0};
  std::atomic<uint64_t> accepted_{0};
  std::atomic<uint64_t> open_{0};

  std::thread thread_;
};

FaultyLink::FaultyLink(std::string upstreamHost, uint16_t upstreamPort)
    : loop_(std::make_unique<Loop>(std::move(upstreamHost), upstreamPort)) {}

FaultyLink::~FaultyLink() = default;

uint16_t FaultyLink::Port() const { return loop_->Port(); }
void FaultyLink::DropAfterNextCommit() { loop_->DropAfterNextCommit(); }
void FaultyLink::DropCommitsAtRandom(double chance, uint32_t seed) { loop_->DropCommitsAtRandom(chance, seed); }
void FaultyLink::CutAll() { loop_->CutAll(); }
void FaultyLink::Stall(std::chrono::milliseconds duration) { loop_->StallUntil(Clock::now() + duration); }
void FaultyLink::Resume() { loop_->StallUntil(Clock::now()); }
void FaultyLink::SetDelay(std::chrono::microseconds delay) { loop_->SetDelay(delay); }
uint64_t FaultyLink::CommitsSeen() const { return loop_->CommitsSeen(); }
uint64_t FaultyLink::CommitsDropped() const { return loop_->CommitsDropped(); }
uint64_t FaultyLink::ConnectionsAccepted() const { return loop_->ConnectionsAccepted(); }
uint64_t FaultyLink::OpenConnections() const { return loop_->OpenConnections(); }

}  // namespace sim::faultylink
