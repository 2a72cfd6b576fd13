#pragma once
// Chat messages to players and the texts they are built from.
#include <cstdint>
#include <string>

#include <fmt/args.h>

#include "AsaApi/FString.h"

struct AShooterPlayerController;

namespace ModComm {

// Sends a finished text (never used as a format string) to one player, from the shop.
void SendPlayerMessage(AShooterPlayerController* controller, const std::string& utf8Text);

// Formats a configured message template with named arguments. A template that
// does not format logs a warning (naming the message) and the default text is
// formatted instead.
std::string FormatMessage(const char* messageName, const std::string& configured, const std::string& fallback,
                          const fmt::dynamic_format_arg_store<fmt::format_context>& args);

// "{character} ({tribe})", the tribe empty without one.
FString PlayerLabel(AShooterPlayerController* controller);
// The tribe name from the controller's player state, empty without a tribe.
FString TribeNameOf(AShooterPlayerController* controller);

// Tells an online player about points they received (passive reward, admin grant).
void NotifyPointsChange(const FString& eosId, int32_t change);

}  // namespace ModComm
