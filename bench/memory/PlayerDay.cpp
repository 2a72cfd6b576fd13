#include "PlayerDay.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/Game/TandorShopMod.h"
#include "AsaApi/Host.h"
#include "core/ThreadPool.h"
#include "sim/companions/ClientMod.h"
#include "sim/scenario/ScratchTables.h"

extern "C" void Plugin_Init();
extern "C" void Plugin_Unload();

namespace membench {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCategories = 3;
constexpr const char* kMessages[] = {
    TandorShopMod::MsgOpenShop,   TandorShopMod::MsgCategory,     TandorShopMod::MsgBuy,
    TandorShopMod::MsgSellList,   TandorShopMod::MsgSell,         TandorShopMod::MsgRedeemList,
    TandorShopMod::MsgRedeem,     TandorShopMod::MsgTradeTargets, TandorShopMod::MsgTrade,
    TandorShopMod::MsgShopLog,    TandorShopMod::MsgTradeLog};

nlohmann::json Config(const std::string& prefix) {
  const char* keep = std::getenv("TANDORSHOP_BENCH_KEEP_CONNECTIONS");
  nlohmann::json config;
  config["Mysql"] = sim::PrivateDatabaseSection(prefix);
  config["Mysql"]["KeepConnections"] = keep == nullptr || std::string(keep) != "0";
  config["General"] = {{"ShopName", "Day"}, {"RewardIntervalMinutes", 10}};
  config["GroupPrivileges"] = nlohmann::json::parse(R"([{"ForGroups": ["VIP"], "PassivePointsAmount": 5}])");
  config["ShopCategories"] = nlohmann::json::parse(R"([{"Name": "Kits"}, {"Name": "Tools"}, {"Name": "Extras"}])");
  const char* categories[] = {"Kits", "Tools", "Extras"};
  for (int i = 0; i < 30; ++i)
    config["ShopPackets"].push_back({{"ShopCategory", categories[i % kCategories]},
                                     {"PacketName", "Packet " + std::to_string(i)},
                                     {"Description", "What packet " + std::to_string(i) + " holds"},
                                     {"Price", 10 * i}});
  return config;
}

// EOS ids as the game has them: 32 hexadecimal digits.
std::string EosIdOf(std::size_t player) { return fmt::format("0002{:028x}", player); }

void DropTables(const std::string& prefix) {
  try {
    sim::DropTablesWithPrefix(prefix);
  } catch (const std::exception&) {
    // the database went away: the next run uses another prefix
  }
}

}  // namespace

PlayerDay::PlayerDay() : prefix_("benchmem" + std::to_string(::getpid())) {
  dir_ = (std::filesystem::temp_directory_path() / prefix_).string();
  const auto folder = std::filesystem::path(dir_) / "ArkApi/Plugins/TandorShop";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "config.json") << Config(prefix_).dump();
  sim::ServerOptions options;
  options.ServerDir = dir_;
  server_ = std::make_unique<sim::Server>(options);
  server_->BeginPlay();
  Plugin_Init();
  for (int i = 0; i < 5000 && !host::CommandRegistry::Get().HasTickCallback(FString("tan_shp")); ++i) {
    server_->Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (!host::CommandRegistry::Get().HasTickCallback(FString("tan_shp")))
    throw std::runtime_error("the mod channel did not open");
}

PlayerDay::~PlayerDay() {
  Plugin_Unload();
  server_.reset();
  DropTables(prefix_);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::size_t PlayerDay::TargetOnline() const {
  // 100 at 20:00, 10 at 08:00.
  const double hour = static_cast<double>(second_ % 86400) / 3600.0;
  return static_cast<std::size_t>(std::lround(55.0 + 45.0 * std::cos(2.0 * kPi * (hour - 20.0) / 24.0)));
}

void PlayerDay::Join(const std::string& eosId) {
  if (std::hash<std::string>{}(eosId) % 3 == 0) server_->SetGroups(eosId, {"VIP"});
  sim::PlayerSpec spec = sim::PlayerSpec::Of(eosId, "Char " + eosId);
  spec.LinkedPlayerId = std::stoull(eosId.substr(4), nullptr, 16) + 1;
  server_->JoinPlayer(spec);
  ++sessions_;
}

void PlayerDay::Arrive() {
  std::string eosId;
  if (!offline_.empty() && std::uniform_real_distribution<>(0, 1)(random_) < 0.35) {
    const std::size_t pick = std::uniform_int_distribution<std::size_t>(0, offline_.size() - 1)(random_);
    eosId = offline_[pick];
    offline_[pick] = offline_.back();
    offline_.pop_back();
  } else {
    eosId = EosIdOf(distinct_++);
  }
  Join(eosId);
  const auto length = static_cast<int64_t>(std::exponential_distribution<>(1.0 / 1200.0)(random_));
  online_.push_back({eosId, second_ + std::clamp<int64_t>(length, 60, 3 * 3600), second_ + 5});
}

void PlayerDay::Leave(std::size_t index) {
  server_->LeavePlayer(online_[index].EosId);
  offline_.push_back(online_[index].EosId);
  online_[index] = online_.back();
  online_.pop_back();
}

void PlayerDay::Request(Session& session) {
  sim::SimPlayer* player = server_->FindPlayer(session.EosId);
  if (player == nullptr) return;
  const double roll = std::uniform_real_distribution<>(0, 1)(random_);
  const int category = std::uniform_int_distribution<>(0, kCategories - 1)(random_);
  auto& mod = server_->Mod();
  if (roll < 0.30) mod.Send(*player, TandorShopMod::MsgOpenShop);
  else if (roll < 0.70) mod.Send(*player, TandorShopMod::MsgCategory, category);
  else if (roll < 0.80) mod.Send(*player, TandorShopMod::MsgShopLog);
  else if (roll < 0.90) mod.Send(*player, TandorShopMod::MsgTradeLog);
  else mod.Send(*player, kMessages[2 + std::uniform_int_distribution<>(0, 6)(random_)], 1, 0, "Packet 1,1;;;");
  if (roll < 0.05) mod.Send(*player, TandorShopMod::MsgOpenShop);  // a double click, refused
  session.NextRequest = second_ + 1 + static_cast<int64_t>(std::exponential_distribution<>(1.0 / 90.0)(random_));
}

void PlayerDay::Second() {
  for (std::size_t i = online_.size(); i-- > 0;)
    if (online_[i].Ends <= second_) Leave(i);
  for (int arrivals = 0; arrivals < 3 && online_.size() < TargetOnline(); ++arrivals) Arrive();
  for (Session& session : online_)
    if (session.NextRequest <= second_) Request(session);
  server_->RunSeconds(1);
  ++second_;
  if (online_.size() > peak_) {
    peak_ = online_.size();
    atPeak_ = ReadState();
  }
}

void PlayerDay::Settle() {
  int quiet = 0;
  while (quiet < 3) {
    server_->Tick();
    const bool idle = TandorShop::Pool().QueuedCount() == 0 && TandorShop::Pool().PendingCount() == 0;
    quiet = idle ? quiet + 1 : 0;
    if (!idle) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void PlayerDay::RunHours(int hours, const std::function<void(int)>& report) {
  for (int hour = 0; hour < hours; ++hour) {
    for (int minute = 0; minute < 60; ++minute) {
      for (int s = 0; s < 60; ++s) Second();
      Settle();
      // The simulator's own records of what the mod and the players received.
      server_->Mod().ClearEvents();
      server_->ClearRecords();
    }
    report(static_cast<int>(second_ / 3600));
  }
}

void PlayerDay::EveryoneLeaves() {
  while (!online_.empty()) Leave(online_.size() - 1);
  for (int s = 0; s < 10; ++s) server_->RunSeconds(1);
  Settle();
  server_->Mod().ClearEvents();
  server_->ClearRecords();
}

void PlayerDay::NewPlayersUntil(std::size_t count) {
  while (distinct_ < count) {
    std::vector<std::string> wave;
    for (int i = 0; i < 100 && distinct_ < count; ++i) {
      wave.push_back(EosIdOf(distinct_++));
      Join(wave.back());
    }
    for (const char* message : kMessages)
      for (const std::string& eosId : wave) server_->Mod().Send(*server_->FindPlayer(eosId), message, 0, 0, "");
    server_->RunSeconds(5);
    for (const std::string& eosId : wave) server_->LeavePlayer(eosId);
    offline_.insert(offline_.end(), wave.begin(), wave.end());
    server_->RunSeconds(5);
    Settle();
    server_->Mod().ClearEvents();
    server_->ClearRecords();
  }
}

}  // namespace membench
