// The framework stand-in and the simulated world, without the plugin.
#include <gtest/gtest.h>

#include "AsaApi/Game/AShooterGameMode.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/UWorld.h"
#include "AsaApi/Hooks.h"
#include "AsaApi/Host.h"
#include "AsaApi/Platform.h"
#include "testsupport/ServerFixture.h"

namespace {

using testsupport::ServerFixture;

int g_calls = 0;
void (*g_beginPlayOriginal)(AShooterGameMode*) = nullptr;
void (*g_beginPlayOriginalOuter)(AShooterGameMode*) = nullptr;
void BeginPlayDetour(AShooterGameMode* gameMode) {
  g_calls += 1;
  g_beginPlayOriginal(gameMode);
}
void BeginPlayOuterDetour(AShooterGameMode* gameMode) {
  g_calls += 10;
  g_beginPlayOriginalOuter(gameMode);
}

TEST(Host, HooksChainAndComeOffInAnyOrder) {
  ServerFixture fixture;
  auto& hooks = AsaApi::GetHooks();
  const auto& beginPlay = Game::AShooterGameMode_::BeginPlay;
  ASSERT_TRUE(hooks.SetHook(beginPlay, &BeginPlayDetour, &g_beginPlayOriginal));
  ASSERT_TRUE(hooks.SetHook(beginPlay, &BeginPlayOuterDetour, &g_beginPlayOriginalOuter));
  fixture.Server().BeginPlay();
  EXPECT_EQ(g_calls, 11);
  EXPECT_TRUE(fixture.Server().Ready()) << "the game's own function ran under both detours";

  EXPECT_TRUE(hooks.DisableHook(beginPlay, &BeginPlayDetour));  // the inner one first
  EXPECT_FALSE(hooks.DisableHook(beginPlay, &BeginPlayDetour));
  fixture.Server().BeginPlay();
  EXPECT_EQ(g_calls, 21);
  EXPECT_TRUE(hooks.DisableHook(beginPlay, &BeginPlayOuterDetour));
  fixture.Server().BeginPlay();
  EXPECT_EQ(g_calls, 21);
}

TEST(Host, UnknownNamesAreLoudAndRemovingUnknownCommandsIsHarmless) {
  ServerFixture fixture;
  const GameFunction<void(UObject*)> missing{"UNoSuchClass.Nothing()"};
  EXPECT_THROW(missing(nullptr), host::UnknownGameName);
  const GameField<int> missingField{"UNoSuchClass.Field"};
  int dummy = 0;
  EXPECT_THROW(missingField.Of(&dummy), host::UnknownGameName);
  auto& commands = AsaApi::GetCommands();
  EXPECT_FALSE(commands.RemoveChatCommand(FString("/nothing")));
  EXPECT_FALSE(commands.RemoveOnTimerCallback(FString("nothing")));
}

TEST(World, PlayersJoinThroughTheGameModeAndTheirWeakPointersDieWithThem) {
  ServerFixture fixture;
  auto& server = fixture.Server();
  server.BeginPlay();
  auto* world = reinterpret_cast<UWorld*>(server.World());
  auto& player = server.JoinPlayer(sim::PlayerSpec::Of("0002AbC", "Rex"));
  AShooterPlayerController* controller = player.AsController();
  EXPECT_EQ(controller->GetUniqueNetIdAsString().ToUtf8(), "0002AbC");
  EXPECT_EQ(controller->GetPlayerCharacterName().ToUtf8(), "Rex");
  EXPECT_FALSE(controller->IsAdmin());
  EXPECT_EQ(AsaApi::GetApiUtils().FindPlayerFromEOSID(FString("0002abc")), controller);
  EXPECT_EQ(world->PlayerControllerListField().Num(), 1);
  EXPECT_EQ(world->GetMapName().ToUtf8(), "TheIsland_WP");
  EXPECT_EQ(reinterpret_cast<AShooterGameMode*>(server.GameMode())->ServerIDField(), 1);

  const TWeakObjectPtr<AShooterPlayerController> weak(controller);
  EXPECT_EQ(weak.Get(), controller);
  server.LeavePlayer("0002abc");
  EXPECT_EQ(weak.Get(), nullptr);
  EXPECT_EQ(world->PlayerControllerListField().Num(), 0);
  EXPECT_EQ(AsaApi::GetApiUtils().FindPlayerFromEOSID(FString("0002abc")), nullptr);

  // A new object in the same slot gets a new serial: the old pointer stays null.
  server.JoinPlayer(sim::PlayerSpec::Of("0002def"));
  EXPECT_EQ(weak.Get(), nullptr);
}

TEST(World, TimersRunOncePerSecondAndTheClockMovesOnlyWhenAsked) {
  ServerFixture fixture;
  auto& server = fixture.Server();
  int timers = 0;
  int ticks = 0;
  AsaApi::GetCommands().AddOnTimerCallback(FString("t"), [&] { ++timers; });
  AsaApi::GetCommands().AddOnTickCallback(FString("k"), [&](float) { ++ticks; });
  const int64_t start = host::NowUnixSeconds();
  server.RunSeconds(5);
  EXPECT_EQ(timers, 5);
  EXPECT_EQ(ticks, 50);
  server.AdvanceClock(3600 * 24);
  EXPECT_GE(host::NowUnixSeconds() - start, 3600 * 24 + 5);
  EXPECT_EQ(timers, 5);
  AsaApi::GetCommands().RemoveOnTimerCallback(FString("t"));
  AsaApi::GetCommands().RemoveOnTickCallback(FString("k"));
}

TEST(World, ACallbackThatThrowsIsReportedAsAHostError) {
  ServerFixture fixture;
  AsaApi::GetCommands().AddConsoleCommand(FString("Boom"), [](APlayerController*, FString*, bool) {
    throw std::runtime_error("escaped");
  });
  EXPECT_TRUE(fixture.Server().Console("", "boom now"));
  ASSERT_EQ(fixture.Server().HostErrors().size(), 1u);
  EXPECT_NE(fixture.Server().HostErrors()[0].find("escaped"), std::string::npos);
}

}  // namespace
