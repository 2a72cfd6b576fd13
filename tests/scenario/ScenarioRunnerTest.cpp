// Steps run against the example shop: what the runner must get right for a
// scenario to mean what it says.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "AsaApi/Platform.h"
#include "sim/companions/ClientMod.h"
#include "sim/scenario/ScenarioParser.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ServerLauncher.h"
#include "testsupport/Database.h"

namespace {

using namespace sim::scenario;

class ScenarioRun : public testing::Test {
 protected:
  ScenarioRun() {
    folder_ = (std::filesystem::temp_directory_path() / "tandorshop-run-XXXXXX").string();
    if (::mkdtemp(folder_.data()) == nullptr) throw std::runtime_error("no temporary folder");
    sim::LaunchSettings settings;
    settings.ConfigFile = TANDORSHOP_EXAMPLE_CONFIG;
    settings.TablePrefix = prefix_;
    settings.Server.ServerDir = folder_;
    launcher_ = std::make_unique<sim::ServerLauncher>(settings);
    launcher_->Start();
    EXPECT_TRUE(launcher_->WaitForShop());
    runner_ = std::make_unique<Runner>(*launcher_, transcript_);
  }
  ~ScenarioRun() override {
    runner_.reset();
    launcher_.reset();
    testsupport::DropTablesWithPrefix(prefix_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Runs the lines; false at the first step that fails.
  bool Run(const std::string& lines) {
    const ParsedScenario parsed = ParseScenario(lines);
    EXPECT_TRUE(parsed.Valid());
    for (const Step& step : parsed.Steps)
      if (!runner_->Run(step)) return false;
    return true;
  }

  std::string prefix_ = testsupport::UniquePrefix("scenariorun");
  std::string folder_;
  std::ostringstream transcript_;
  std::unique_ptr<sim::ServerLauncher> launcher_;
  std::unique_ptr<Runner> runner_;
};

TEST_F(ScenarioRun, RequestsInARowAllReachTheShopAndARestartKeepsClockGameTimeGroupsAndPoints) {
  const int64_t start = host::NowUnixSeconds();
  const double gameTime = launcher_->Current().Mod().GameTime();
  ASSERT_TRUE(Run("group ann Vip\n"
                  "join ann Ann level=20\n"
                  "mod ann TSMod_OpenShop\n"
                  "mod ann TSMod_OpenShop\n"
                  "advance 1h\n"
                  "expect points ann 25\n"))
      << transcript_.str();
  EXPECT_EQ(launcher_->Current().Mod().EventsOf("ann", "a_openshop").size(), 2u) << "the second was throttled";

  ASSERT_TRUE(Run("restart\nexpect points ann 25\n")) << transcript_.str();
  EXPECT_GE(host::NowUnixSeconds(), start + 3600);
  EXPECT_GE(launcher_->Current().Mod().GameTime(), gameTime + 3600);
  EXPECT_TRUE(launcher_->Current().IsPlayerInGroup("ann", "Vip"));
  EXPECT_EQ(launcher_->Current().FindPlayer("ann"), nullptr) << "a restart drops the players";
}

TEST_F(ScenarioRun, StepsThatCannotBeCarriedOutOrDoNotHoldFailWithTheReason) {
  EXPECT_FALSE(Run("give bo PrimalItemResource_Stone 10\n"));
  EXPECT_EQ(runner_->LastFailure(), "bo is not online");
  EXPECT_FALSE(Run("join ann Ann\ngive ann NoSuchThing 10\n"));
  EXPECT_EQ(runner_->LastFailure(), "no item class NoSuchThing");
  EXPECT_FALSE(Run("rcon GetPlayerPoints ann\nexpect reply Player has 7 points.\n"));
  EXPECT_EQ(runner_->LastFailure(), "the last reply was \"Player has 0 points.\"");
}

}  // namespace
