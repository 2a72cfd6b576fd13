#include "AdminGrants.h"

#include <algorithm>
#include <chrono>

#include "StormClock.h"
#include "StormRoster.h"
#include "rcon/RconClient.h"

namespace storm {
namespace {
constexpr char kPassword[] = "storm";

std::string ExpectedReply(const Grant& grant) {
  if (grant.Held) return "Adding packet to player.";
  return "Added " + std::to_string(grant.Amount) + " points to eosId " + grant.EosId + ".";
}
}  // namespace

AdminGrants::AdminGrants(std::vector<RconServer> servers, uint64_t seed, int intervalMillis)
    : servers_(std::move(servers)), clients_(servers_.size()), random_(seed), intervalMillis_(intervalMillis) {}

AdminGrants::~AdminGrants() { Stop(); }

void AdminGrants::Start() { thread_ = std::thread([this] { Run(); }); }

void AdminGrants::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

Grant AdminGrants::Next() {
  auto roll = [this](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); };
  Grant grant;
  const RconServer& server = servers_[static_cast<std::size_t>(roll(static_cast<int>(servers_.size())))];
  grant.ServerId = server.ServerId;
  grant.EosId = EosIdOf(server.ServerId, roll(server.Players));
  grant.Held = roll(4) == 0;
  if (grant.Held) {
    grant.Key = roll(2) == 0 ? HeldReward : HeldPacket;
    grant.Amount = 1 + roll(2);
  } else {
    grant.Amount = 5 + roll(56);
  }
  return grant;
}

void AdminGrants::Execute(Grant& grant) {
  std::size_t slot = 0;
  while (servers_[slot].ServerId != grant.ServerId) ++slot;
  std::string command;
  if (grant.Held)
    command = "ChangeKitAmount " + grant.EosId + " " + grant.Key + " " + std::to_string(grant.Amount);
  else
    command = "AddPoints " + grant.EosId + " " + std::to_string(grant.Amount) + (grant.Amount % 3 == 0 ? " storm bonus" : "");
  grant.SentMillis = WallMillis();
  try {
    if (!clients_[slot]) {
      auto client = std::make_unique<rcon::RconClient>("127.0.0.1", servers_[slot].Port);
      if (!client->Authenticate(kPassword)) throw std::runtime_error("RCON password refused");
      clients_[slot] = std::move(client);
    }
    const auto reply = clients_[slot]->Execute(command);
    if (!reply) clients_[slot].reset();
    grant.Reply = reply.value_or("");
  } catch (const std::exception& e) {
    clients_[slot].reset();
    grant.Reply = e.what();
  }
  grant.RepliedMillis = WallMillis();
  grant.Accepted = grant.Reply == ExpectedReply(grant);
  grant.Refused = grant.Reply == GrantRefusedReply;
  grant.Unknown = grant.Reply == GrantUnknownReply;
}

void AdminGrants::Pause(int serverId) {
  std::lock_guard lock(mutex_);
  paused_.push_back(serverId);
}

void AdminGrants::Resume(int serverId, uint16_t port) {
  std::lock_guard lock(mutex_);
  std::erase(paused_, serverId);
  for (std::size_t slot = 0; slot < servers_.size(); ++slot)
    if (servers_[slot].ServerId == serverId) {
      servers_[slot].Port = port;
      clients_[slot].reset();
    }
}

void AdminGrants::Run() {
  while (!stop_) {
    {
      std::lock_guard lock(mutex_);
      Grant grant = Next();
      if (std::find(paused_.begin(), paused_.end(), grant.ServerId) == paused_.end()) {
        Execute(grant);
        grants_.push_back(std::move(grant));
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(intervalMillis_));
  }
}

}  // namespace storm
