// The mod channel opens at most once and never once unload has begun.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "AsaApi/Game/TandorShopMod.h"
#include "AsaApi/Host.h"
#include "core/PluginState.h"
#include "modcomm/GameAssets.h"
#include "modcomm/ModChannel.h"
#include "notify/VersionCheck.h"
#include "plugin/LayerWiring.h"
#include "shop/InfoRequests.h"
#include "sim/assembly/Server.h"
#include "sim/world/WorldExtras.h"

namespace {

sim::ServerOptions Options() {
  sim::ServerOptions options;
  options.ServerDir = (std::filesystem::temp_directory_path() / "tandorshop-channel").string();
  return options;
}

TEST(ChannelStart, AnAnswerArrivingAfterUnloadBeganOpensNothing) {
  sim::Server server(Options());
  ModChannel::MarkGameThread();
  TandorShop::WireLayers();  // the answer would start the channel
  ModChannel::StopModChannel();  // the unload sequence
  TandorShop::VersionCheck::OnVersionAnswer(true, R"({"version": 1.01, "min_version": 1.0})");
  EXPECT_FALSE(TandorShop::ModChannelActive.load());
  EXPECT_EQ(host::HookCount(TandorShopMod::NetExecFunction), 0u);
  EXPECT_FALSE(host::CommandRegistry::Get().HasTickCallback(FString("tan_shp")));
}

TEST(ChannelStart, AnAnswerOnAnotherThreadWaitsForTheGameThread) {
  sim::Server server(Options());
  ModChannel::MarkGameThread();
  std::thread([] { ModChannel::StartModChannel(); }).join();
  EXPECT_FALSE(TandorShop::ModChannelActive.load()) << "not started off the game thread";
  ModChannel::StopModChannel();
  ModChannel::RunPendingStart();
  EXPECT_FALSE(TandorShop::ModChannelActive.load()) << "and not after unload began either";
}

TEST(KeepAlive, ChecksTheIndexBeforeTouchingTheObjectArray) {
  sim::Server server(Options());
  sim::SimTexture* texture = server.Extras().AddTexture("Texture2D'/Game/T.T'");
  EXPECT_TRUE(ModComm::KeepAlive(&texture->Header));
  UObject stranger{};
  stranger.InternalIndex = 1 << 30;
  EXPECT_FALSE(ModComm::KeepAlive(&stranger));
  stranger.InternalIndex = -5;
  EXPECT_FALSE(ModComm::KeepAlive(&stranger));
  stranger.InternalIndex = texture->Header.InternalIndex;  // a slot that holds another object
  EXPECT_FALSE(ModComm::KeepAlive(&stranger));
}

}  // namespace

namespace {

TEST(ChannelStart, TheShopCommandPostsNothingWhileTheChannelIsClosed) {
  sim::Server server(Options());
  sim::SimPlayer& player = server.JoinPlayer(sim::PlayerSpec::Of("EosShop"));
  ASSERT_FALSE(TandorShop::ModChannelActive.load());
  EXPECT_FALSE(TandorShop::ShopRequests::RequestOpenShop(player.AsController()));
  EXPECT_FALSE(TandorShop::ShopRequests::RequestOpenShop(nullptr));
}

}  // namespace
