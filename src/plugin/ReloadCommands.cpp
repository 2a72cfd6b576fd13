#include "plugin/ReloadCommands.h"

#include <exception>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Commands.h"
#include "AsaApi/Game/RCON.h"
#include "config/ConfigLoader.h"
#include "plugin/Lifecycle.h"
#include "core/Log.h"
#include "core/ModulePath.h"

namespace TandorShop {
namespace {

FString ReloadCommandName() { return FString(fmt::format("{}.reload", PluginName)); }

void ReplyOnRcon(RCONClientConnection* connection, const RCONPacket* packet, const std::string& text) {
  if (connection == nullptr || packet == nullptr) return;
  FString reply(text + "\n");
  connection->SendMessage(packet->Id, 0, &reply);
}

void ReplyOnConsole(APlayerController* player, const char* text) {
  if (player == nullptr) return;
  auto messaging = AsaApi::GetApiUtils().GetMessagingManager(ModulePath());
  if (messaging) {
    messaging->SendServerMessage(reinterpret_cast<AShooterPlayerController*>(player), FString(PluginName),
                                 FString(text));
  }
}

void ReloadOverRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*) {
  try {
    const bool loaded = ReloadConfig();
    ReplyOnRcon(connection, packet,
                fmt::format(fmt::runtime(loaded ? "{} config reloaded." : "{} failed to reload config."), PluginName));
  } catch (const std::exception& e) {
    Log().error("Reload failed: {}", e.what());
  }
}

void ReloadOverConsole(APlayerController* player, FString*, bool) {
  try {
    const bool loaded = ReloadConfig();
    ReplyOnConsole(player, loaded ? "Shop Config reloaded." : "Failed to reload config.");
  } catch (const std::exception& e) {
    Log().error("Reload failed: {}", e.what());
  }
}

}  // namespace

bool ReloadConfig() {
  nlohmann::json config;
  if (!ConfigHelper::LoadConfigFile(config)) return false;
  HandlePluginEvent(PluginEvent::Reload, &config);
  return true;
}

void AddReloadCommands() {
  auto& commands = AsaApi::GetCommands();
  commands.AddRconCommand(ReloadCommandName(), &ReloadOverRcon);
  commands.AddConsoleCommand(ReloadCommandName(), &ReloadOverConsole);
}

void RemoveReloadCommands() {
  auto& commands = AsaApi::GetCommands();
  commands.RemoveRconCommand(ReloadCommandName());
  commands.RemoveConsoleCommand(ReloadCommandName());
}

}  // namespace TandorShop
