// Steps run against the example shop: what the runner must get right for a
// scenario to mean what it says.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "AsaApi/Platform.h"
#include "sim/companions/ClientMod.h"
#include "sim/scenario/ScenarioParser.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ServerLauncher.h"
#include "sim/world/GameModel.h"
#include "sim/world/Inventory.h"
#include "sim/world/Items.h"
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

TEST_F(ScenarioRun, CountsAndNeverLookSinceTheMarkAndFailWhenMoreOrAnyArrived) {
  ASSERT_TRUE(Run("join ann Ann\nmark\nmod ann TSMod_OpenShop\n")) << transcript_.str();
  EXPECT_FALSE(Run("expect no event ann a_openshop\n"));
  EXPECT_EQ(runner_->LastFailure().rfind("1 a_openshop for ann", 0), 0u) << runner_->LastFailure();
  EXPECT_FALSE(Run("expect event ann a_openshop count 2\n"));
  EXPECT_TRUE(Run("expect event ann a_openshop count 1\nexpect no message ann\n")) << runner_->LastFailure();
  EXPECT_TRUE(Run("mark\nexpect no event ann a_openshop\nexpect event ann a_openshop count 0\n"))
      << runner_->LastFailure();

  // Two opens in one tick meet the shop's throttle: one is answered. Sent
  // apart, both are.
  ASSERT_TRUE(Run("mark\ntogether\nmod ann TSMod_OpenShop\nmod ann TSMod_OpenShop\nend\n"
                  "expect event ann a_openshop count 1\n"
                  "mark\nrepeat 3 mod ann TSMod_OpenShop\nexpect event ann a_openshop count 1\n"
                  "mark\nmod ann TSMod_OpenShop\nmod ann TSMod_OpenShop\nexpect event ann a_openshop count 2\n"))
      << transcript_.str();

  // A non-admin's admin command: no reply, and saying there was one fails.
  ASSERT_TRUE(Run("join bo Bo\nconsole bo AddPoints bo 10\nexpect no reply\n")) << runner_->LastFailure();
  EXPECT_FALSE(Run("rcon GetPlayerPoints bo\nexpect no reply\n"));
  EXPECT_TRUE(Run("expect no reply Player has 10\n")) << runner_->LastFailure();
}

TEST_F(ScenarioRun, PointsAreReadFromTheDatabaseRowWhichThePointsInterfaceWouldHaveMade) {
  EXPECT_FALSE(Run("expect points ghost 0\n"));
  EXPECT_EQ(runner_->LastFailure(), "no row for ghost in the database");
  EXPECT_TRUE(Run("expect no player ghost\nexpect no player ghost\n")) << "looking made no row";
  ASSERT_TRUE(Run("join ann Ann\nrcon AddPoints ann 30\nexpect points ann 30\n")) << runner_->LastFailure();
  EXPECT_FALSE(Run("expect no player ann\n"));
  EXPECT_EQ(runner_->LastFailure(), "ann has a row with 30 points");
}

TEST_F(ScenarioRun, WorldAndFileStepsChangeWhatTheyName) {
  ASSERT_TRUE(Run("join ann Ann level=5\n"
                  "give ann PrimalItem_WeaponMetalPick 2 blueprint quality=30\n"
                  "level ann 45\n"
                  "tribe ann \"Blue Moon\"\n"
                  "config set ShopPackets.1.Price 999\n"
                  "config patch {\"General\": {\"ShopName\": \"Night Market\"}}\n"
                  "cooldowns write \"Rex;4102444800\" \"a b\"\n"))
      << runner_->LastFailure();
  sim::Server& server = launcher_->Current();
  sim::SimPlayer& ann = *server.FindPlayer("ann");
  const auto items = server.Model().Items.ItemsOf(ann.Character->Inventory);
  ASSERT_EQ(items.size(), 2u) << "two single items";
  for (const sim::SimItem* item : items) {
    EXPECT_NE(item->ItemFlags & sim::ItemFlag::IsBlueprint, 0u);
    EXPECT_EQ(item->ItemQuality, 30.0f);
  }
  EXPECT_EQ(ann.State->CharacterLevel, 45);
  EXPECT_EQ(ann.State->TribeName.ToUtf8(), "Blue Moon");
  EXPECT_NE(ann.State->TribeId, 0);
  EXPECT_EQ(ann.Controller->TargetingTeam, ann.State->TribeId);

  const auto folder = std::filesystem::path(launcher_->PluginFolder());
  const nlohmann::json installed = nlohmann::json::parse(std::ifstream(folder / "config.json"));
  EXPECT_EQ(installed["ShopPackets"][1]["Price"], 999);
  EXPECT_EQ(installed["General"]["ShopName"], "Night Market");
  EXPECT_EQ(installed["Mysql"]["tablePrefix"], prefix_) << "the database settings stay the run's";
  std::ifstream cooldowns(folder / "packetCds.txt");
  std::string text((std::istreambuf_iterator<char>(cooldowns)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "Rex;4102444800\na b\n");

  // A full inventory, and the edits survive a restart.
  ASSERT_TRUE(Run("fill ann\nrestart\n")) << runner_->LastFailure();
  EXPECT_EQ(nlohmann::json::parse(std::ifstream(folder / "config.json"))["ShopPackets"][1]["Price"], 999);
  ASSERT_TRUE(Run("join bo Bo\nfill bo\n")) << runner_->LastFailure();
  EXPECT_TRUE(launcher_->Current().FindPlayer("bo")->Character->Inventory->Full());
  EXPECT_FALSE(Run("give bo PrimalItemResource_Stone 1\n"));
  EXPECT_FALSE(Run("database down\n")) << "the shared database is never taken down";
}

}  // namespace
