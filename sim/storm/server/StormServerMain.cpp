// tandorshop-storm-server: one game server of a storm. Its players buy, sell,
// trade and redeem on seeded dice for a number of simulated hours while the
// orchestrator grants points over RCON and takes the database away; at the end
// it writes what it saw (storm-summary.json) into its server folder.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <thread>

#include "AsaApi/Host.h"
#include "StormBots.h"
#include "StormObservations.h"
#include "StormRoster.h"
#include "StormWorld.h"
#include "sim/companions/ClientMod.h"
#include "sim/assembly/Server.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

struct Arguments {
  std::string ServerDir;
  storm::BotSettings Bots;
  double Hours = 6;
  double Speed = 100;  // simulated seconds per real second, at most
};

Arguments Parse(int argc, char** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) throw std::invalid_argument("missing value for " + arg);
    const std::string value = argv[++i];
    if (arg == "--server-dir") args.ServerDir = value;
    else if (arg == "--server-id") args.Bots.ServerId = std::stoi(value);
    else if (arg == "--players") args.Bots.Players = std::stoi(value);
    else if (arg == "--peer-server-id") args.Bots.PeerServerId = std::stoi(value);
    else if (arg == "--peer-players") args.Bots.PeerPlayers = std::stoi(value);
    else if (arg == "--hours") args.Hours = std::stod(value);
    else if (arg == "--speed") args.Speed = std::stod(value);
    else if (arg == "--actions-per-hour") args.Bots.ActionsPerHour = std::stod(value);
    else if (arg == "--seed") args.Bots.Seed = std::stoull(value);
    else throw std::invalid_argument("unknown option " + arg);
  }
  if (args.ServerDir.empty()) throw std::invalid_argument("--server-dir is required");
  return args;
}

void WriteFile(const fs::path& path, const std::string& text) {
  const fs::path partial = path.string() + ".part";
  std::ofstream(partial) << text;
  fs::rename(partial, path);
}

class StormServer {
 public:
  explicit StormServer(const Arguments& args)
      : args_(args), server_(Options(args)), world_(server_), bots_(server_, args.Bots), seen_(server_) {
    for (const storm::Bot& bot : bots_.All()) eosIds_.push_back(bot.EosId);
  }

  int Run() {
    // A journal from an earlier life: this server was killed and is started again.
    const fs::path journal = Dir() / storm::JournalFile;
    if (fs::exists(journal)) {
      for (const auto& [eosId, crates] : seen_.LoadJournal(journal.string())) {
        world_.AddEarlierCrates(eosId, crates);
        cratesJournaled_[eosId] = crates;
      }
      firstSecond_ = ProgressSoFar() + 1;
      // The game's clock goes on from where the earlier life left it, never back.
      server_.AdvanceClock(firstSecond_ - 1);
    }
    seen_.OpenJournal(journal.string());
    if (!OpenShop()) {
      std::cerr << "storm server " << args_.Bots.ServerId << ": the shop did not open\n";
      return 3;
    }
    JoinEveryone();
    if (!LearnCatalogue()) {
      std::cerr << "storm server " << args_.Bots.ServerId << ": the category lists did not arrive\n";
      return 3;
    }
    WriteFile(Dir() / storm::ReadyFile,
              nlohmann::json{{"rconPort", server_.RconPort()}, {"players", eosIds_.size()}}.dump());
    Storm();
    WindDown();
    server_.UnloadPlugin();
    seen_.Collect(eosIds_);
    WriteSummary();
    return 0;
  }

 private:
  static sim::ServerOptions Options(const Arguments& args) {
    sim::ServerOptions options;
    options.ServerDir = fs::absolute(args.ServerDir).string();
    options.ServerId = args.Bots.ServerId;
    options.RconPassword = "storm";
    options.LogFile = options.ServerDir + "/ShooterGame/Saved/Logs/ArkApi.log";
    options.SessionName = "Storm " + std::to_string(args.Bots.ServerId);
    return options;
  }
  fs::path Dir() const { return fs::absolute(args_.ServerDir); }

  // One tick of the game loop with the bots' requests in it, timed as the game thread's work.
  void TimedTick(float delta, bool botsAct) {
    const auto start = Clock::now();
    if (botsAct) bots_.Act();
    server_.Tick(delta);
    seen_.RecordTick(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }

  // Ticks without moving the clock (no timers) until done() or the timeout.
  bool Idle(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
      if (Clock::now() > deadline) return false;
      TimedTick(0.0f, false);
      bots_.ReadModEvents();
      server_.Mod().ClearEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  bool OpenShop() {
    server_.BeginPlay();
    server_.LoadPlugin();
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!host::CommandRegistry::Get().HasTickCallback(FString("tan_shp"))) {
      if (Clock::now() > deadline) return false;
      server_.Tick(0.1f);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  // Everybody joins at once; the clock stands still until their logins are stored,
  // so no passive reward is counted before a player's row exists.
  void JoinEveryone() {
    for (const storm::Bot& bot : bots_.All()) {
      server_.SetGroups(bot.EosId, storm::GroupsOf(bot.Index));
      sim::PlayerSpec spec = sim::PlayerSpec::Of(bot.EosId, bot.Name);
      spec.LinkedPlayerId = static_cast<uint64_t>(args_.Bots.ServerId) * 100000u + static_cast<uint64_t>(bot.Index);
      if (bot.Index % 3 == 0) {
        spec.TribeId = 1000 + bot.Index / 6;
        spec.TribeName = "Tribe " + std::to_string(bot.Index / 6);
      }
      server_.JoinPlayer(spec);
    }
    Idle([] { return false; }, std::chrono::milliseconds(1500));
  }

  bool LearnCatalogue() {
    bots_.LearnCatalogue();
    return Idle([this] { return bots_.CatalogueKnown(); }, std::chrono::seconds(30));
  }

  int64_t ProgressSoFar() const {
    std::ifstream in(Dir() / storm::ProgressFile);
    int64_t second = 0;
    in >> second;
    return second;
  }

  void JournalCrates() {
    for (const std::string& eosId : eosIds_) {
      const int64_t crates = world_.CratesSeen(eosId);
      if (crates == cratesJournaled_[eosId]) continue;
      cratesJournaled_[eosId] = crates;
      seen_.JournalCrates(eosId, crates);
    }
  }

  void Storm() {
    const int64_t seconds = static_cast<int64_t>(args_.Hours * 3600);
    const auto start = Clock::now();
    for (int64_t second = firstSecond_; second <= seconds; ++second) {
      server_.AdvanceClock(1);
      // Crates are journaled as soon as the tick that brought them ends, so that a
      // kill -9 a moment later still counts them.
      for (int tick = 0; tick < 10; ++tick) {
        TimedTick(0.1f, true);
        JournalCrates();
      }
      bots_.ReadModEvents();
      server_.Mod().ClearEvents();
      seen_.Collect(eosIds_);
      if (second % 60 == 0) EveryMinute(second);
      if (second % 10 == 0) WriteFile(Dir() / storm::ProgressFile, std::to_string(second));
      // Never faster than the chosen speed, so the database sees a steady load.
      const auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                   static_cast<double>(second - firstSecond_ + 1) / args_.Speed));
      if (Clock::now() < due) std::this_thread::sleep_until(due);
    }
    simulatedSeconds_ = seconds;
    WriteFile(Dir() / storm::ProgressFile, "done " + std::to_string(seconds));
  }

  void EveryMinute(int64_t second) {
    for (const storm::Bot& bot : bots_.All()) {
      world_.Gather(bot.EosId, 20 + static_cast<int32_t>((second / 60 + bot.Index) % 5) * 10);
      world_.Stash(bot.EosId);
    }
  }

  // The orchestrator's last grants still run through RCON; then queued work settles.
  void WindDown() {
    Idle([this] { return fs::exists(Dir() / storm::FinishFile); }, std::chrono::minutes(10));
    Idle([] { return false; }, std::chrono::seconds(3));
    seen_.Collect(eosIds_);
  }

  void WriteSummary() {
    nlohmann::json summary = seen_.ToJson();
    for (const storm::Bot& bot : bots_.All()) summary["players"][bot.EosId]["crates"] = world_.CratesOf(bot.EosId);
    summary["serverId"] = args_.Bots.ServerId;
    summary["simulatedSeconds"] = simulatedSeconds_;
    summary["sent"] = bots_.Counts().Sent;
    summary["repeats"] = bots_.Counts().Repeats;
    summary["hostErrors"] = server_.HostErrors();
    summary["modLayoutErrors"] = server_.Mod().Errors();
    summary["clockAtEnd"] = std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::system_clock::now().time_since_epoch()).count() + simulatedSeconds_;
    WriteFile(Dir() / storm::SummaryFile, summary.dump(1));
  }

  Arguments args_;
  sim::Server server_;
  storm::StormWorld world_;
  storm::Bots bots_;
  storm::Observations seen_;
  std::vector<std::string> eosIds_;
  int64_t simulatedSeconds_ = 0;
  int64_t firstSecond_ = 1;
  std::map<std::string, int64_t> cratesJournaled_;
};

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::cout << "usage: tandorshop-storm-server --server-dir DIR [--server-id N] [--players N]\n"
                   "  [--peer-server-id N] [--peer-players N] [--hours H] [--speed X] [--actions-per-hour N]\n"
                   "  [--seed N]: one game server of the storm (tandorshop-storm starts it)\n";
      return 0;
    }
    if (arg == "--version") return std::cout << "tandorshop-storm-server " << TANDORSHOP_PROJECT_VERSION << "\n", 0;
  }
  try {
    const Arguments args = Parse(argc, argv);
    StormServer server(args);
    return server.Run();
  } catch (const std::exception& e) {
    std::cerr << "tandorshop-storm-server: " << e.what() << std::endl;
    return 1;
  }
}
