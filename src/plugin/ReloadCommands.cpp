#include "plugin/ReloadCommands.h"

#include <exception>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "AsaApi/ApiUtils.h"
#include "AsaApi/Commands.h"
#include "AsaApi/Game/AShooterPlayerController.h"
#include "AsaApi/Game/RCON.h"
#include "commands/AuditLine.h"
#include "commands/HelpText.h"
#include "config/ConfigLoader.h"
#include "core/Log.h"
#include "core/ModulePath.h"
#include "plugin/Lifecycle.h"

namespace TandorShop {
namespace {

FString ReloadCommandName() { return FString(fmt::format("{}.reload", PluginName)); }
FString HelpCommandName() { return FString(fmt::format("{}.help", PluginName)); }

// " (3 warnings, see the log)" after a reload that skipped entries.
std::string WarningsNote(const ReloadOutcome& outcome) {
  return outcome.Warnings == 0 ? std::string() : fmt::format(" ({} warnings, see the log)", outcome.Warnings);
}

void ReplyOnRcon(RCONClientConnection* connection, const RCONPacket* packet, const std::string& text) {
  if (connection == nullptr || packet == nullptr) return;
  FString reply(text + "\n");
  connection->SendMessage(packet->Id, 0, &reply);
}

void ReplyOnConsole(APlayerController* player, const std::string& text) {
  if (player == nullptr) return;
  auto messaging = AsaApi::GetApiUtils().GetMessagingManager(ModulePath());
  if (messaging) {
    messaging->SendServerMessage(reinterpret_cast<AShooterPlayerController*>(player), FString(PluginName),
                                 FString(text));
  }
}

void ReloadOverRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*) {
  try {
    const ReloadOutcome outcome = ReloadConfig();
    const std::string reply = outcome.Applied ? fmt::format("{} config reloaded.{}", PluginName, WarningsNote(outcome))
                                              : fmt::format("{} failed to reload config.", PluginName);
    const std::string address = connection == nullptr ? std::string() : connection->IPField().ToUtf8();
    Log().info(CommandHandler::AuditLine(CommandHandler::RconIssuer(address), ReloadCommandName().View(), reply));
    ReplyOnRcon(connection, packet, reply);
  } catch (const std::exception& e) {
    Log().error("Reload failed: {}", e.what());
  }
}

// The server's own console (no controller) may; a player needs the admin bit.
bool AdminOrServerConsole(APlayerController* player) {
  return player == nullptr || reinterpret_cast<AShooterPlayerController*>(player)->IsAdmin();
}

std::string ConsoleIssuer(APlayerController* player) {
  if (player == nullptr) return "server console";
  auto* controller = reinterpret_cast<AShooterPlayerController*>(player);
  return CommandHandler::ConsoleIssuer(controller->GetUniqueNetIdAsString().ToUtf8(),
                                       controller->GetPlayerCharacterName().ToUtf8());
}

void ReloadOverConsole(APlayerController* player, FString*, bool) {
  try {
    if (!AdminOrServerConsole(player)) return;
    const ReloadOutcome outcome = ReloadConfig();
    const std::string reply =
        outcome.Applied ? "Shop Config reloaded." + WarningsNote(outcome) : std::string("Failed to reload config.");
    Log().info(CommandHandler::AuditLine(ConsoleIssuer(player), ReloadCommandName().View(), reply));
    ReplyOnConsole(player, reply);
  } catch (const std::exception& e) {
    Log().error("Reload failed: {}", e.what());
  }
}

void HelpOverRcon(RCONClientConnection* connection, RCONPacket* packet, UWorld*) {
  try {
    ReplyOnRcon(connection, packet, CommandHandler::HelpText());
  } catch (const std::exception& e) {
    Log().error("Help failed: {}", e.what());
  }
}

// In the issuing admin's console.
void HelpOverConsole(APlayerController* player, FString*, bool) {
  try {
    if (player == nullptr || !AdminOrServerConsole(player)) return;
    reinterpret_cast<AShooterPlayerController*>(player)->ClientMessage(FString::FromUtf8(CommandHandler::HelpText()));
  } catch (const std::exception& e) {
    Log().error("Help failed: {}", e.what());
  }
}

}  // namespace

ReloadOutcome ReloadConfig() {
  nlohmann::json config;
  if (!ConfigHelper::LoadConfigFile(config)) return {};
  return ReloadConfiguration(config);
}

void AddReloadCommands() {
  auto& commands = AsaApi::GetCommands();
  commands.AddRconCommand(ReloadCommandName(), &ReloadOverRcon);
  commands.AddConsoleCommand(ReloadCommandName(), &ReloadOverConsole);
  commands.AddRconCommand(HelpCommandName(), &HelpOverRcon);
  commands.AddConsoleCommand(HelpCommandName(), &HelpOverConsole);
}

void RemoveReloadCommands() {
  auto& commands = AsaApi::GetCommands();
  commands.RemoveRconCommand(ReloadCommandName());
  commands.RemoveConsoleCommand(ReloadCommandName());
  commands.RemoveRconCommand(HelpCommandName());
  commands.RemoveConsoleCommand(HelpCommandName());
}

}  // namespace TandorShop
