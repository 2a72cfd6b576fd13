#include "modcomm/ModChannel.h"

#include <atomic>
#include <exception>
#include <thread>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Commands.h"
#include "AsaApi/Game/UWorld.h"
#include "AsaApi/Hooks.h"
#include "core/CommandLine.h"
#include "core/GameInfo.h"
#include "core/Log.h"
#include "core/PluginState.h"
#include "core/ThreadPool.h"
#include "modcomm/DinoData.h"
#include "modcomm/GameAssets.h"
#include "modcomm/GameState.h"
#include "modcomm/GlobalSettings.h"
#include "modcomm/ModEvents.h"
#include "modcomm/ModMessages.h"
#include "modcomm/PacketViews.h"
#include "modcomm/SendQueues.h"

namespace ModChannel {
namespace {

using TandorShop::Log;

constexpr const char* kTickName = "tan_shp";

std::thread::id g_gameThread;
std::atomic<bool> g_startRequested{false};
std::atomic<bool> g_started{false};
std::atomic<bool> g_closed{false};
ChannelSteps g_steps;  // game thread

void OnTick(float) {
  try {
    TandorShop::Pool().DrainResults();
    ModComm::DrainModQueues();
  } catch (const std::exception& e) {
    Log().error("The shop tick failed: {}", e.what());
  } catch (...) {
    Log().error("The shop tick failed");
  }
}

void ReadGameData() {
  ModComm::ReadDinoData();
  ModComm::ResolveAssets();
  ModComm::SendGlobalSettings();
}

void Open() {
  AsaApi::GetHooks().SetHook(ModComm::NetExecFunctionName(), reinterpret_cast<void*>(&ModComm::ModMessageDetour),
                             reinterpret_cast<void**>(&ModComm::g_netExecOriginal));
  AsaApi::GetCommands().AddOnTickCallback(FString(kTickName), &OnTick);
  TandorShop::ModChannelActive.store(true);
  TandorShop::GameInfo::RefreshServerId();
  if (g_steps.StartOfRun != nullptr) g_steps.StartOfRun();
  ModComm::BuildMessageNames();
  if (UWorld* world = AsaApi::GetApiUtils().GetWorld()) ModComm::MapName() = world->GetMapName();
  ModComm::ReadGameSession();
  ModComm::ServerKey() = TandorShop::ReadServerKey();
  ReadGameData();
}

}  // namespace

void SetChannelSteps(const ChannelSteps& steps) { g_steps = steps; }

void MarkGameThread() {
  g_gameThread = std::this_thread::get_id();
  g_closed.store(false);
  g_started.store(false);
  g_startRequested.store(false);
}

void StartModChannel() {
  if (g_closed.load() || g_started.load()) return;
  if (std::this_thread::get_id() != g_gameThread) {
    g_startRequested.store(true);
    return;
  }
  if (g_started.exchange(true)) return;
  Open();
}

void RunPendingStart() {
  if (g_startRequested.exchange(false)) StartModChannel();
}

void StopModChannel() {
  g_closed.store(true);
  g_startRequested.store(false);
  if (TandorShop::ModChannelActive.load()) {
    AsaApi::GetHooks().DisableHook(ModComm::NetExecFunctionName(),
                                   reinterpret_cast<void*>(&ModComm::ModMessageDetour));
    AsaApi::GetCommands().RemoveOnTickCallback(FString(kTickName));
    TandorShop::ModChannelActive.store(false);
  }
  ModComm::ClearModQueues();
  ModComm::ForgetMessages();
  if (g_steps.Closed != nullptr) g_steps.Closed();
  ModComm::ResetModHandles();
  ModComm::ForgetAssets();
  ModComm::ClearViews();
}

void RefreshAfterConfigRead(bool reload) {
  ModComm::BuildViews();
  if (reload && TandorShop::ModChannelActive.load()) {
    ModComm::ResolveAssets();
    ModComm::ReadDinoData();
    ModComm::SendGlobalSettings();
  }
}

}  // namespace ModChannel
