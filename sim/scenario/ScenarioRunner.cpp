#include "sim/scenario/ScenarioRunner.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "AsaApi/Host.h"
#include "AsaApi/Platform.h"
#include "sim/companions/ClientMod.h"
#include "sim/world/GameModel.h"
#include "sim/world/Inventory.h"
#include "rcon/RconClient.h"
#include "sim/scenario/ScenarioExpectations.h"
#include "sim/scenario/ServerLauncher.h"

namespace sim::scenario {
namespace {

using Clock = std::chrono::steady_clock;

// A command that could not be carried out.
struct StepFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

template <class... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The mod's requests of one kind are accepted once per 501 ms per player.
constexpr int64_t kRequestSpacingMs = 520;

// While a step waits for the server's answers the loop ticks without game time,
// so timers (the passive reward) run only where the scenario moves time on
// ("advance"), and what a step shows does not depend on how fast the machine is.
constexpr float kNoTime = 0.0f;

}  // namespace

Runner::Runner(ServerLauncher& launcher, std::ostream& out, RunnerOptions options)
    : launcher_(launcher),
      out_(out),
      options_(options),
      happenings_(std::make_unique<Happenings>(launcher.Current())) {}

Runner::~Runner() = default;

bool Runner::Run(const Step& step) {
  failure_.clear();
  if (const auto* comment = std::get_if<Comment>(&step.What)) {
    out_ << (comment->Text.empty() ? "#" : "# " + comment->Text) << "\n";
    return true;
  }
  if (options_.EchoCommands)
    out_ << (step.Line < 1000 ? std::string(4 - std::to_string(step.Line).size(), ' ') : "") << step.Line << "  "
         << step.Source << std::flush;
  bool passed = false;
  try {
    passed = Execute(step.What);
  } catch (const std::exception& e) {
    failure_ = e.what();
  }
  const bool expectation = step.Source.rfind("expect", 0) == 0;
  if (options_.EchoCommands || (passed && expectation)) out_ << (passed && expectation ? "   ok\n" : "\n");
  for (const std::string& note : notes_) out_ << "      " << note << "\n";
  notes_.clear();
  ReportHappenings();
  if (!passed) out_ << "      FAILED: " << failure_ << "\n";
  out_ << std::flush;
  return passed;
}

void Runner::ReportHappenings() {
  for (const std::string& line : happenings_->Since(options_.ShowLog)) out_ << "      " << line << "\n";
}

bool Runner::Execute(const Action& action) {
  Server& server = launcher_.Current();
  return std::visit(
      Overloaded{
          [&](const struct Join& join) { return Join(join), true; },
          [&](const Leave& leave) {
            Online(leave.EosId);
            server.LeavePlayer(leave.EosId);
            return Settle(), true;
          },
          [&](const SetGroups& groups) {
            groups_[Lower(groups.EosId)] = groups.Groups;
            return server.SetGroups(groups.EosId, groups.Groups), true;
          },
          [&](const Advance& advance) {
            launcher_.Advance(advance.Seconds);
            return Settle(), true;
          },
          [&](const ModRequest& request) { return SendMod(request), true; },
          [&](const Together& together) { return SendTogether(together), true; },
          [&](const Repeat& repeat) {
            Together burst;
            for (int32_t i = 0; i < repeat.Times; ++i) burst.Steps.push_back(Step{0, "", repeat.Request});
            return SendTogether(burst), true;
          },
          [&](const Rcon& rcon) { return SendRcon(rcon.Command), true; },
          [&](const struct Console& console) { return SendConsole(console), true; },
          [&](const Chat& chat) {
            Online(chat.EosId);
            server.Chat(chat.EosId, chat.Text);
            return Settle(), true;
          },
          [&](const Restart&) {
            launcher_.Restart();
            happenings_->Rebind(launcher_.Current());
            marks_ = RecordMarks{};  // a new server records from nothing
            // The Permissions plugin keeps its groups in its own database.
            for (const auto& [eosId, groups] : groups_) launcher_.Current().SetGroups(eosId, groups);
            if (!launcher_.WaitForShop()) throw StepFailed("the shop did not open again");
            return Settle(), true;
          },
          [&](const Mark&) {
            marks_ = MarkNow(launcher_, linkedIds_);
            return true;
          },
          [&](const Comment&) { return true; },
          [&](const ExpectReply& expect) {
            const Failure failure = Check(ExpectContext{launcher_, lastReply_, marks_}, expect);
            if (failure) failure_ = *failure;
            else ++held_;
            return !failure;
          },
          [&](const ExpectPoints& expect) { return Expect(expect); },
          [&](const ExpectNoPlayer& expect) { return Expect(expect); },
          [&](const ExpectInventory& expect) { return Expect(expect); },
          [&](const ExpectCryopods& expect) { return Expect(expect); },
          [&](const ExpectLog& expect) { return Expect(expect); },
          [&](const ExpectEvent& expect) { return Expect(expect); },
          [&](const ExpectMessage& expect) { return Expect(expect); },
          [&](const ExpectCommand& expect) { return Expect(expect); },
          [&](const ExpectDiscord& expect) { return Expect(expect); },
          [&](const ExpectGlobal& expect) { return Expect(expect); },
          [&](const auto&) { return ExecuteWorld(action) || ExecuteFiles(action); },
      },
      action);
}

// Waits (up to the timeout) for the expectation to hold; the failure if it never did.
template <typename Expectation>
Failure Runner::WaitFor(const Expectation& expectation) {
  const ExpectContext context{launcher_, lastReply_, marks_};
  const auto deadline = Clock::now() + options_.ExpectTimeout;
  Failure failure = Check(context, expectation);
  while (failure && Clock::now() < deadline) {
    for (int i = 0; i < 10; ++i) {
      launcher_.Current().Tick(kNoTime);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    failure = Check(context, expectation);
  }
  return failure;
}

// "Some" is waited for. "Exactly" is waited for, then confirmed once the server
// has settled (so one more arriving late is seen). "None" is confirmed once the
// server has settled.
template <typename Expectation>
bool Runner::Expect(const Expectation& expectation) {
  const Quantity quantity = QuantityOf(expectation);
  Failure failure;
  if (quantity.Is != Quantity::None) failure = WaitFor(expectation);
  if (!failure && quantity.Is != Quantity::Some) {
    Settle();
    failure = Check(ExpectContext{launcher_, lastReply_, marks_}, expectation);
  }
  if (failure) {
    failure_ = *failure;
    return false;
  }
  ++held_;
  return true;
}

// Runs the game loop until nothing new has been recorded for a while: database
// work runs on the plugin's workers and long lists reach the mod in paced batches.
void Runner::Settle() {
  Server& server = launcher_.Current();
  const auto limit = Clock::now() + std::chrono::seconds(10);
  std::size_t fingerprint = happenings_->Fingerprint();
  auto changed = Clock::now();
  int quietTicks = 0;
  while (Clock::now() < limit) {
    server.Tick(kNoTime);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const std::size_t now = happenings_->Fingerprint();
    if (now != fingerprint) {
      fingerprint = now;
      changed = Clock::now();
      quietTicks = 0;
    } else if (++quietTicks >= 15 && Clock::now() - changed >= std::chrono::milliseconds(300)) {
      return;
    }
  }
}

void Runner::Join(const struct Join& join) {
  Server& server = launcher_.Current();
  if (server.FindPlayer(join.EosId) != nullptr) throw StepFailed(join.EosId + " is already online");
  PlayerSpec spec = PlayerSpec::Of(join.EosId, join.Name, join.Admin);
  spec.LinkedPlayerId = linkedIds_.emplace(Lower(join.EosId), linkedIds_.size() + 1).first->second;
  if (!join.Tribe.empty()) {
    spec.TribeName = join.Tribe;
    spec.TribeId = tribeIds_.emplace(join.Tribe, static_cast<int32_t>(1000 + tribeIds_.size())).first->second;
  }
  spec.Level = join.Level;
  happenings_->Watch(join.EosId);
  server.JoinPlayer(spec);
  Settle();
}

SimPlayer& Runner::Online(const std::string& eosId) {
  SimPlayer* player = launcher_.Current().FindPlayer(eosId);
  if (player == nullptr) throw StepFailed(eosId + " is not online");
  return *player;
}

void Runner::DeliverMod(const ModRequest& request, bool spaced) {
  Server& server = launcher_.Current();
  SimPlayer& player = Online(request.EosId);
  const auto key = std::make_pair(Lower(request.EosId), request.Message);
  if (const auto last = lastModRequest_.find(key); spaced && last != lastModRequest_.end())
    while (host::NowUnixMillis() - last->second < kRequestSpacingMs) {
      server.Tick(kNoTime);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  server.Mod().Send(player, request.Message, request.Int1, request.Int2, request.Text);
  lastModRequest_[key] = host::NowUnixMillis();
}

void Runner::SendMod(const ModRequest& request) {
  DeliverMod(request, true);
  Settle();
}

// Hands over one request of a together block without running the game loop.
void Runner::DeliverInTick(const Step& step) {
  Server& server = launcher_.Current();
  std::visit(Overloaded{
                 [&](const ModRequest& request) { DeliverMod(request, false); },
                 [&](const struct Console& console) {
                   Online(console.EosId);
                   server.Console(console.EosId, console.Command);
                 },
                 [&](const Chat& chat) {
                   Online(chat.EosId);
                   server.Chat(chat.EosId, chat.Text);
                 },
                 [&](const Comment&) {},
                 [&](const auto&) { throw StepFailed("only requests run together: " + step.Source); },
             },
             step.What);
}

// Every request reaches the plugin before the game loop ticks again, as when
// they arrive within one server frame.
void Runner::SendTogether(const Together& together) {
  for (const Step& step : together.Steps) DeliverInTick(step);
  Settle();
}

void Runner::SendRcon(const std::string& command) {
  Server& server = launcher_.Current();
  rcon::RconClient client("127.0.0.1", server.RconPort());
  auto pump = [&server] { server.Tick(kNoTime); };
  if (!client.Authenticate(server.RconPassword(), pump)) throw StepFailed("RCON refused the password");
  const auto reply = client.Execute(command, pump);
  if (!reply) throw StepFailed("no answer over RCON");
  lastReply_ = *reply;
  notes_.push_back("reply: " + (lastReply_.empty() ? std::string("(none)") : lastReply_));
  Settle();
}

void Runner::SendConsole(const struct Console& console) {
  Server& server = launcher_.Current();
  Online(console.EosId);
  const std::size_t before = server.ClientMessagesOf(console.EosId).size();
  server.Console(console.EosId, console.Command);
  Settle();
  const auto& lines = server.ClientMessagesOf(console.EosId);
  lastReply_.clear();
  for (std::size_t i = before; i < lines.size(); ++i) lastReply_ += (i > before ? "\n" : "") + lines[i];
}

}  // namespace sim::scenario
